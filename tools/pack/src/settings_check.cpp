#include "settings_check.h"

#include <algorithm>
#include <set>

#include "case_fold.h"
#include "format/setting_keys.h"
#include "format/settings_syntax.h"

namespace pack {

namespace {

using setup::format::kSettingKeys;
using setup::format::ProductSetting;
using setup::format::SettingIndex;

// One line's check: where it stands, what it must say, where its faults go.
struct LineCheck {
    std::string file;
    int number = 0;
    std::string_view key;
    Problems& problems;
    void Fail(const std::string& message) const {
        problems.push_back({file, number, std::string(key) + ": " + message});
    }
};

void CheckRect(const LineCheck& at, const std::string& value, const std::optional<BmpInfo>& skin) {
    auto parsed = setup::format::ParseRectValue(value);
    const auto* r = std::get_if<setup::format::PieceRect>(&parsed);
    if (!r)
        return at.Fail("the value is not four integers x,y,w,h; the installer would refuse to run");
    if (r->x < 0 || r->y < 0 || r->w <= 0 || r->h <= 0)
        return at.Fail("the rectangle needs x and y of 0 or more and a width and height above 0");
    if (skin && (static_cast<long>(r->x) + r->w > skin->width ||
                 static_cast<long>(r->y) + r->h > skin->height))
        at.Fail("the rectangle reaches outside the " + std::to_string(skin->width) + " x " +
                std::to_string(skin->height) + " skin");
}

// The value in quotes, for messages.
std::string Quoted(std::string_view value) {
    std::string text(1, '"');
    return text.append(value).append(1, '"');
}

bool IsYear(std::string_view text) {
    return text.size() == 4 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The folder part of a relative path with "\", including the final "\"; "" for a bare name.
std::string FolderOf(const std::string& path) {
    const std::size_t at = path.rfind('\\');
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

void CheckProduct(const LineCheck& at, ProductSetting setting, const std::string& value,
                  const std::vector<std::string>& values, const std::set<std::string>* targets) {
    auto present = [&](const std::string& path) {
        return !targets || targets->count(UpperCaseForCompare(path)) > 0;
    };
    const std::string& main_exe = values[SettingIndex(ProductSetting::MainExeName)];
    switch (setting) {
        case ProductSetting::Company:
            // It names the uninstall entry's key, the program group's folder and the first
            // folder of the default directory: a "\" would make a key below another.
            if (value.empty() || value.find_first_of("\\/:*?\"<>|") != std::string::npos)
                at.Fail("the maker's name must not be empty nor hold \\ / : * ? \" < > |");
            break;
        case ProductSetting::SoftSysName:
        case ProductSetting::SoftSvrName:
            if (value.empty()) at.Fail("the name must not be empty");
            break;
        case ProductSetting::SoftYear:
            if (!IsYear(value)) at.Fail(Quoted(value) + " is not a year of four digits");
            break;
        case ProductSetting::SoftVersion:
            if (!IsVersionText(value))
                at.Fail(Quoted(value) +
                        " is not a version such as 6.0.2 (one to four numbers of "
                        "at most 65535)");
            break;
        case ProductSetting::MainExeName:
        case ProductSetting::UninstallName:
            if (value.empty() || !present(value))
                at.Fail(Quoted(value) + " is not a target of the order file");
            break;
        case ProductSetting::SvrExeName:
            // Found in the main program's folder, as the installer starts it.
            if (value.empty() || !present(FolderOf(main_exe) + value))
                at.Fail(Quoted(FolderOf(main_exe) + value) + " is not a target of the order file");
            break;
        case ProductSetting::SoftTrialName:
        case ProductSetting::SoftTrialExeName:
        case ProductSetting::SoftForFreeName:
        case ProductSetting::SoftForFreeExeName:
            // The other editions are linked only when their program was installed.
            break;
    }
}

}  // namespace

bool IsVersionText(std::string_view text) {
    int parts = 0;
    for (const std::string& part : setup::format::SplitSettingFields(text, '.')) {
        if (part.empty() || part.size() > 5 || ++parts > 4 ||
            !std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
            std::stoul(part) > 65535)
            return false;
    }
    // Blanks inside ("6. 0") are trimmed by the split: the text must be exactly the parts.
    return parts > 0 && text.find_first_not_of("0123456789.") == std::string_view::npos;
}

Problems CheckSettingValues(const Settings& settings, const std::filesystem::path& file,
                            const std::optional<BmpInfo>& skin,
                            const std::vector<std::string>* targets) {
    Problems problems;
    if (settings.lines.size() != static_cast<std::size_t>(kSettingsLineCount)) return problems;
    std::vector<std::string> keys, values;
    for (const std::string& line : settings.lines) {
        std::vector<std::string> fields = setup::format::SplitSettingFields(line, '=');
        keys.push_back(fields.empty() ? std::string() : fields[0]);
        values.push_back(fields.size() == 2 ? fields[1] : std::string());
    }
    std::set<std::string> folded;
    if (targets)
        for (const std::string& t : *targets) folded.insert(UpperCaseForCompare(t));
    for (int i = 0; i < kSettingsLineCount; ++i) {
        const LineCheck at{file.string(), settings.line_numbers[i], kSettingKeys[i], problems};
        if (keys[i] != kSettingKeys[i]) {
            at.Fail("the line's key is " + Quoted(keys[i]) + "; setting " + std::to_string(i + 1) +
                    " of 23 must be " + std::string(kSettingKeys[i]));
            continue;
        }
        // A line with a second "=" is skipped by the installer, and has its own warning.
        if (std::count(settings.lines[i].begin(), settings.lines[i].end(), '=') != 1) continue;
        if (i < kRectSettingCount)
            CheckRect(at, values[i], skin);
        else
            CheckProduct(at, static_cast<ProductSetting>(i - kRectSettingCount), values[i], values,
                         targets ? &folded : nullptr);
    }
    return problems;
}

}  // namespace pack

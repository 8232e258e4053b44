#include "init.h"

#include <algorithm>
#include <system_error>

#include "../../skingen/src/layout.h"
#include "bmp_check.h"
#include "case_fold.h"
#include "format/setting_keys.h"
#include "text_file.h"

namespace fs = std::filesystem;

namespace pack {

namespace {

// What each setting is, in id order, for the template's comments.
constexpr const char* kSettingHelp[setup::format::kSettingCount] = {
    "top bar of pages 1 to 3; its width is the window's width",
    "top bar of page 4 (finish)",
    "centre background of page 1 (licence)",
    "centre background of page 2 (folder and options)",
    "centre background of page 3 (copying)",
    "centre background of page 4 (finish)",
    "bottom band of every page",
    "frame of the progress bar",
    "fill of the progress bar, stretched to the filled width",
    "strip of the eight wizard buttons: four state frames side by side",
    "strip of the close button: four state frames side by side",
    "the maker: uninstall entry's key and Publisher, program group, default folder",
    "the product's display name (uninstall entry, shortcuts, captions, default folder)",
    "file name of the main program in the payload (a target of the order file)",
    "file name of the uninstaller in the payload",
    "four-digit year appended to the product's own registry key",
    "version recorded in the registry (DisplayVersion), such as 6.0.2",
    "display name of the server program",
    "file name of the server program, in the main program's folder",
    "display name of the trial edition",
    "file name of the trial edition; its shortcut is made only when the file is installed",
    "display name of the free edition",
    "file name of the free edition; its shortcut is made only when the file is installed",
};

bool IsProgram(const std::string& target) {
    const std::string upper = UpperCaseForCompare(target);
    return target.find('\\') == std::string::npos && upper.size() > 4 &&
           upper.compare(upper.size() - 4, 4, ".EXE") == 0;
}

bool Contains(const std::string& target, const char* upper_word) {
    return UpperCaseForCompare(target).find(upper_word) != std::string::npos;
}

// The first program whose name holds one of the words, else fallback.
std::string FirstProgram(const std::vector<std::string>& targets,
                         std::initializer_list<const char*> words, const std::string& fallback) {
    for (const std::string& t : targets)
        if (IsProgram(t) &&
            std::any_of(words.begin(), words.end(), [&](const char* w) { return Contains(t, w); }))
            return t;
    return fallback;
}

std::string MainProgram(const std::vector<std::string>& targets) {
    for (const std::string& t : targets)
        if (IsProgram(t) && !Contains(t, "UNINST") && !Contains(t, "SERVER") && !Contains(t, "SVR"))
            return t;
    return "Main.exe";
}

bool WriteNew(const fs::path& path, std::string_view bytes, std::ostream& log) {
    bool written = false;
    std::string error;
    if (WriteIfChanged(path, bytes, written, error)) return true;
    log << "setup-pack: error: " << error << "\n";
    return false;
}

}  // namespace

std::vector<std::string> PayloadTargets(const fs::path& payload, std::string& error) {
    std::vector<std::string> programs, rest;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(payload, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        std::string target = it->path().lexically_relative(payload).generic_string();
        std::replace(target.begin(), target.end(), '/', '\\');
        (IsProgram(target) ? programs : rest).push_back(target);
    }
    if (ec) {
        error = payload.string() + ": " + ec.message();
        return {};
    }
    std::sort(programs.begin(), programs.end());
    std::sort(rest.begin(), rest.end());
    programs.insert(programs.end(), rest.begin(), rest.end());
    return programs;
}

std::string SettingsTemplate(const std::vector<std::string>& targets) {
    const std::string main = MainProgram(targets);
    const std::string values[setup::format::kProductSettingCount] = {
        "MyCompany",
        "MyProduct",
        main,
        FirstProgram(targets, {"UNINST"}, "uninstall.exe"),
        "2026",
        "1.0.0",
        "MyProduct Server",
        FirstProgram(targets, {"SERVER", "SVR"}, main),
        "MyProduct Trial",
        "MyProductTrial.exe",
        "MyProduct Free",
        "MyProductFree.exe"};
    std::string text =
        "# Settings of the installer: 23 lines \"key=value\" (UTF-8), each key in its place.\n"
        "# Lines starting with \"#\" and blank lines are left out. Rectangles are x,y,w,h in\n"
        "# pixels of the skin bitmap (see skin-pieces.txt).\n";
    for (int i = 0; i < setup::format::kSettingCount; ++i) {
        std::string value;
        if (i < setup::format::kRectSettingCount) {
            const skingen::Rect& r = skingen::kPieces[static_cast<std::size_t>(i)].rect;
            value = std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.w) +
                    "," + std::to_string(r.h);
        } else {
            value = values[i - setup::format::kRectSettingCount];
        }
        text += "\n# " + std::string(kSettingHelp[i]) + "\n" +
                std::string(setup::format::kSettingKeys[i]) + "=" + value + "\n";
    }
    return text;
}

std::string SkinPiecesText() {
    std::string text = "The skin atlas: a " + std::to_string(skingen::kAtlasWidth) + " x " +
                       std::to_string(skingen::kAtlasHeight) +
                       " 24-bit uncompressed bottom-up bitmap. Each piece is cut at the\n"
                       "rectangle its setting names (x,y,w,h); a new skin keeps these sizes.\n\n";
    for (std::size_t i = 0; i < skingen::kPieces.size(); ++i) {
        const skingen::Piece& p = skingen::kPieces[i];
        text += std::string(p.key) + "  " + std::to_string(p.rect.x) + "," +
                std::to_string(p.rect.y) + "," + std::to_string(p.rect.w) + "," +
                std::to_string(p.rect.h) + "  (" + std::to_string(p.rect.w) + " x " +
                std::to_string(p.rect.h) + ")  " + kSettingHelp[i] + "\n";
    }
    return text;
}

int RunInit(const Options& o, std::ostream& log) {
    std::string error;
    std::optional<std::string> skin = ReadWholeFile(o.skin, &error);
    if (skin) error = CheckSkinBitmap(*skin).problem;
    const std::vector<std::string> targets =
        error.empty() ? PayloadTargets(o.payload, error) : std::vector<std::string>{};
    for (const char* name : {kInitSettingsName, kInitOrderName, kInitSkinName, kInitPiecesName})
        if (std::error_code ec; error.empty() && fs::exists(o.init / name, ec))
            error = (o.init / name).string() + ": exists; --init replaces no file";
    if (!error.empty()) {
        log << "setup-pack: error: " << error << "\nsetup-pack: nothing written\n";
        return 1;
    }
    std::string order;
    for (const std::string& t : targets) order += t + "\n";
    std::error_code ec;
    fs::create_directories(o.init, ec);
    const bool ok = WriteNew(o.init / kInitSettingsName, SettingsTemplate(targets), log) &&
                    WriteNew(o.init / kInitOrderName, order, log) &&
                    WriteNew(o.init / kInitSkinName, *skin, log) &&
                    WriteNew(o.init / kInitPiecesName, SkinPiecesText(), log);
    if (ok && !o.quiet)
        log << "setup-pack: wrote " << kInitSettingsName << ", " << kInitOrderName << " ("
            << targets.size() << " files), " << kInitSkinName << " and " << kInitPiecesName
            << " in " << o.init.string() << "\n";
    return ok ? 0 : 1;
}

}  // namespace pack

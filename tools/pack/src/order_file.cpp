#include "order_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>
#include <system_error>
#include <unordered_map>

#include "case_fold.h"
#include "format/target_path.h"
#include "gbk.h"
#include "text_file.h"

namespace fs = std::filesystem;

namespace pack {

// The installer's rules (format/target_path.h) on each name; "|" is checked here, where UTF-8
// makes every "|" byte a character of its own.
std::optional<std::string> CheckTargetPath(std::string_view path) {
    if (auto why = setup::format::TargetPathStartProblem(path)) return why;
    if (path.find('|') != std::string_view::npos)
        return "the character \"|\", which Windows file names cannot hold";
    for (std::size_t start = 0;;) {
        const std::size_t sep = path.find(setup::format::kPathSeparator, start);
        if (auto why = setup::format::TargetComponentProblem(path.substr(start, sep - start)))
            return why;
        if (sep == std::string_view::npos) break;
        start = sep + 1;
    }
    return std::nullopt;
}

namespace {

// Upper-cased targets and the folders they need, each with the line that named it first.
struct SeenNames {
    std::unordered_map<std::string, int> files, folders;
};

// Why a target cannot live beside the ones before it on Windows, which ignores letter case: the
// same file again, or one name used both for a file and for a folder. Records the target if not.
std::optional<std::string> CheckClash(std::string_view target, int line, SeenNames& seen) {
    const std::string upper = UpperCaseForCompare(target);
    if (auto it = seen.files.find(upper); it != seen.files.end())
        return "the same file as line " + std::to_string(it->second) +
               " (Windows ignores letter case)";
    if (auto it = seen.folders.find(upper); it != seen.folders.end())
        return "a file with the name of a folder that line " + std::to_string(it->second) +
               " needs (Windows ignores letter case)";
    // Case folding keeps every "\", so the folders are the text before each one, in both forms.
    for (std::size_t sep = upper.find('\\'), at = target.find('\\'); sep != std::string::npos;
         sep = upper.find('\\', sep + 1), at = target.find('\\', at + 1)) {
        if (auto it = seen.files.find(upper.substr(0, sep)); it != seen.files.end())
            return "the folder \"" + std::string(target.substr(0, at)) +
                   "\" has the name of the file of line " + std::to_string(it->second) +
                   " (Windows ignores letter case)";
    }
    seen.files.emplace(upper, line);
    for (std::size_t sep = upper.find('\\'); sep != std::string::npos;
         sep = upper.find('\\', sep + 1))
        seen.folders.emplace(upper.substr(0, sep), line);
    return std::nullopt;
}

bool IsInside(const fs::path& folder, const fs::path& path) {
    return std::mismatch(folder.begin(), folder.end(), path.begin(), path.end()).first ==
           folder.end();
}

// Opens the file and reads a byte, so a file the packer could not read is found before anything
// is written. The system's reason when that fails.
std::optional<std::string> CheckReadable(const fs::path& file) {
    std::FILE* in = std::fopen(file.c_str(), "rb");
    if (!in) return std::strerror(errno);
    char byte;
    const bool failed = std::fread(&byte, 1, 1, in) == 0 && std::ferror(in);
    const int error = errno;
    std::fclose(in);
    if (failed) return std::strerror(error);
    return std::nullopt;
}

// Why the entry's source cannot be packed, or nothing; fills in its size. real_payload is the
// payload folder with every link resolved.
std::optional<std::string> CheckSource(PayloadEntry& entry, const fs::path& real_payload) {
    const std::string name = entry.source.string();
    std::error_code ec;
    if (!fs::is_regular_file(entry.source, ec)) return "no file " + name + " in the payload folder";
    // A link may lead anywhere on the build machine; only the payload folder is meant to ship.
    const fs::path real = fs::canonical(entry.source, ec);
    if (ec) return "cannot resolve " + name + ": " + ec.message();
    if (!IsInside(real_payload, real))
        return name + " leads out of the payload folder (to " + real.string() + ")";
    entry.size = fs::file_size(entry.source, ec);
    if (ec) return "cannot read the size of " + name + ": " + ec.message();
    if (entry.size > 0xFFFFFFFFull)
        return name + " is larger than 4 GB, more than a resource can describe";
    if (auto why = CheckReadable(entry.source)) return "cannot read " + name + ": " + *why;
    return std::nullopt;
}

}  // namespace

PayloadOrder ParseOrder(std::string_view text, const std::string& file_name,
                        const fs::path& payload_dir) {
    PayloadOrder order;
    std::error_code ec;
    const fs::path real_payload = fs::canonical(payload_dir, ec);
    if (ec) {
        order.problems.push_back(
            {payload_dir.string(), 0, "cannot resolve the payload folder: " + ec.message()});
        return order;
    }
    SeenNames seen;
    std::size_t named = 0;
    std::vector<std::string_view> lines = SplitLines(StripBom(text));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        std::string_view line = lines[i];
        if (IsBlank(line)) continue;
        ++named;
        auto fail = [&](const std::string& message) {
            order.problems.push_back({file_name, number, message});
        };
        if (auto why = CheckTargetPath(line)) {
            fail(*why);
            continue;
        }
        if (auto why = CheckTableLine(line)) {
            fail(*why);
            continue;
        }
        // UTF-8 never uses the byte of "\" inside a character, so swapping it is safe here.
        std::string relative(line);
        std::replace(relative.begin(), relative.end(), '\\', '/');
        PayloadEntry entry{std::string(line), payload_dir / relative, 0, number};
        if (auto why = CheckClash(line, number, seen)) {
            fail(*why);
            continue;
        }
        if (auto why = CheckSource(entry, real_payload)) {
            fail(*why);
            continue;
        }
        order.entries.push_back(std::move(entry));
    }
    if (named > kMaxPayloadFiles)
        order.problems.push_back({file_name, 0,
                                  std::to_string(named) + " files; the installer reads at most " +
                                      std::to_string(kMaxPayloadFiles)});
    return order;
}

std::error_code ListFolderOnDisk(const fs::path& folder,
                                 std::vector<fs::directory_entry>& entries) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        entries.push_back(*it);
    return ec;
}

std::vector<std::string> UnlistedFiles(const fs::path& payload_dir,
                                       const std::vector<PayloadEntry>& entries, Problems& warnings,
                                       const ListFolder& list) {
    std::set<fs::path> listed;
    for (const PayloadEntry& e : entries) listed.insert(e.source.lexically_normal());
    std::vector<std::string> unlisted;
    // Folders still to look into. Links to folders are not followed, as the packer never
    // reaches into them unless the order file names a path through one.
    std::vector<fs::path> folders{payload_dir};
    while (!folders.empty()) {
        const fs::path folder = std::move(folders.back());
        folders.pop_back();
        std::vector<fs::directory_entry> children;
        if (std::error_code ec = list(folder, children))
            warnings.push_back({folder.string(), 0,
                                "cannot read the folder (" + ec.message() +
                                    "); files in it are not compared with the order file"});
        for (const fs::directory_entry& child : children) {
            std::error_code ec;
            if (!child.is_symlink(ec) && child.is_directory(ec))
                folders.push_back(child.path());
            else if (child.is_regular_file(ec) && !listed.count(child.path().lexically_normal()))
                unlisted.push_back(child.path().lexically_relative(payload_dir).string());
        }
    }
    std::sort(unlisted.begin(), unlisted.end());
    return unlisted;
}

}  // namespace pack

#include "text_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

namespace fs = std::filesystem;

namespace pack {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Writes text into a file at path, made anew. When the writing fails the file is removed, so no
// half-written file stays behind; what stands at path when it cannot be opened at all (a folder,
// say) is not ours and is left alone.
bool WriteNewFile(const fs::path& path, std::string_view text, std::string& error) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        error = "cannot create " + path.string() + ": " + std::strerror(errno);
        return false;
    }
    bool ok = std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::fflush(out) == 0;
    int reason = errno;
    if (std::fclose(out) != 0 && ok) ok = false, reason = errno;
    if (!ok) {
        error = "cannot write " + path.string() + ": " + std::strerror(reason);
        std::error_code ignored;
        fs::remove(path, ignored);
    }
    return ok;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const fs::path& path, std::string* error) {
    File in(std::fopen(path.c_str(), "rb"));
    std::string bytes;
    if (in) {
        char buffer[64 * 1024];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, in.get())) > 0)
            bytes.append(buffer, got);
        if (!std::ferror(in.get())) return bytes;
    }
    if (error) *error = std::strerror(errno);
    return std::nullopt;
}

std::string_view StripBom(std::string_view text) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());
    return text;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool IsBlank(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) > 32) return false;
    return true;
}

bool WriteIfChanged(const fs::path& path, std::string_view text, bool& written,
                    std::string& error) {
    written = false;
    if (std::optional<std::string> old = ReadWholeFile(path); old && *old == text) return true;
    const fs::path temp = path.string() + ".tmp";
    if (!WriteNewFile(temp, text, error)) return false;
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) {
        error = "cannot rename " + temp.string() + " to " + path.string() + ": " + ec.message();
        std::error_code ignored;
        fs::remove(temp, ignored);
        return false;
    }
    written = true;
    return true;
}

}  // namespace pack

#include "text_file.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

namespace pack {

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    return bytes;
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
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!out.flush()) {
            error = "cannot write " + temp.string();
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) {
        error = "cannot rename " + temp.string() + ": " + ec.message();
        return false;
    }
    written = true;
    return true;
}

}  // namespace pack

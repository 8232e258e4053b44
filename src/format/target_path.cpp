#include "format/target_path.h"

namespace setup::format {

namespace {

constexpr std::string_view kForbidden = "<>:\"/?*";

std::string AsciiUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// Built by appending: GCC 12 warns falsely on operator+ chains that start with a literal.
std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    return quoted.append(text).append("\"");
}

}  // namespace

// Blanks before the first dot count too ("COM1 .log"), and so do the superscript digits.
bool IsDeviceName(std::string_view component) {
    std::string_view base = component.substr(0, component.find('.'));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    const std::string upper = AsciiUpper(base);
    if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") return true;
    if (upper.size() < 4 || (upper.compare(0, 3, "COM") != 0 && upper.compare(0, 3, "LPT") != 0))
        return false;
    const std::string_view number = std::string_view(upper).substr(3);
    return (number.size() == 1 && number[0] >= '1' && number[0] <= '9') || number == "\xC2\xB9" ||
           number == "\xC2\xB2" || number == "\xC2\xB3";
}

std::optional<std::string> TargetPathStartProblem(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':')
        return "a drive (" + Quoted(path.substr(0, 2)) +
               "); paths are relative to the installation directory";
    if (!path.empty() && path.front() == kPathSeparator)
        return "a leading \"\\\"; paths are relative";
    return std::nullopt;
}

std::optional<std::string> TargetComponentProblem(std::string_view part) {
    if (part.empty()) return "an empty folder or file name (\"\\\\\" or a trailing \"\\\")";
    if (part == "." || part == "..") return "a " + Quoted(part) + " component";
    for (unsigned char c : part) {
        if (c < 32 || c == 127) return "control character " + std::to_string(c) + " in a name";
        if (c == '/') return "\"/\"; write \"\\\" between folders";
        if (kForbidden.find(static_cast<char>(c)) != std::string_view::npos)
            return std::string("the character \"") + static_cast<char>(c) +
                   "\", which Windows file names cannot hold";
    }
    if (part.front() == ' ' || part.back() == ' ')
        return "a name " + Quoted(part) + " that starts or ends with a blank (the installer drops it)";
    if (part.back() == '.') return "a name " + Quoted(part) + " that ends with \".\" (Windows drops it)";
    if (IsDeviceName(part)) return "the name " + Quoted(part) + ", which Windows keeps for a device";
    return std::nullopt;
}

}  // namespace setup::format

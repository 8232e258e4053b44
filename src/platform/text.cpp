#include "platform/text.h"

namespace setup::text {

std::size_t CharLength(std::string_view text, std::size_t pos) {
    return IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

static char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
static char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Folding byte by byte is safe in GBK: a trail byte that is an ASCII letter folds on both sides of
// every comparison alike, and the names compared here hold no such byte.
std::string AsciiUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = Upper(c);
    return out;
}

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = Lower(c);
    return out;
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}

static bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view Trim(std::string_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && IsBlankOrControl(text[begin])) ++begin;
    while (end > begin && IsBlankOrControl(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::size_t FindChar(std::string_view text, char c, std::size_t from) {
    for (std::size_t i = from; i < text.size(); i += CharLength(text, i))
        if (text[i] == c) return i;
    return std::string_view::npos;
}

std::size_t FindLastChar(std::string_view text, char c) {
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i))
        if (text[i] == c) found = i;
    return found;
}

std::vector<std::string_view> Split(std::string_view text, char sep) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = FindChar(text, sep, start)) != std::string_view::npos; start = at + 1)
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

std::string ReplaceChar(std::string_view text, char from, char to) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); i += CharLength(out, i))
        if (out[i] == from) out[i] = to;
    return out;
}

std::string_view CutToBytes(std::string_view text, std::size_t max_bytes) {
    std::size_t end = 0;
    while (end < text.size()) {
        std::size_t next = end + CharLength(text, end);
        if (next > max_bytes) break;
        end = next;
    }
    return text.substr(0, end);
}

std::string Digits(std::uint64_t value, std::size_t width) {
    std::string out;
    do {
        out.insert(out.begin(), static_cast<char>('0' + value % 10));
        value /= 10;
    } while (value != 0);
    if (out.size() < width) out.insert(0, width - out.size(), '0');
    return out;
}

std::string FixedPoint(double value, int decimals, std::size_t width) {
    std::uint64_t scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    const double at_least_0 = value > 0 ? value : 0.0;  // also a value that is not a number
    const auto scaled = static_cast<std::uint64_t>(at_least_0 * scale + 0.5);
    std::string out = Digits(scaled / scale);
    if (decimals > 0) out.append(1, '.').append(Digits(scaled % scale, decimals));
    if (out.size() < width) out.insert(0, width - out.size(), ' ');
    return out;
}

}  // namespace setup::text

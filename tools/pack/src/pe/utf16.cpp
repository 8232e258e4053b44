#include "pe/utf16.h"

#include <cstdint>

namespace pack::pe {

namespace {

// The code point starting at text[i], advancing i; nothing for an invalid sequence.
std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<std::uint8_t>(text[i++]);
    if (lead < 0x80) return lead;
    int more;
    char32_t c;
    if (lead >= 0xC2 && lead <= 0xDF)
        more = 1, c = lead & 0x1F;
    else if (lead >= 0xE0 && lead <= 0xEF)
        more = 2, c = lead & 0x0F;
    else if (lead >= 0xF0 && lead <= 0xF4)
        more = 3, c = lead & 0x07;
    else
        return std::nullopt;
    for (int k = 0; k < more; ++k, ++i) {
        if (i >= text.size()) return std::nullopt;
        const auto next = static_cast<std::uint8_t>(text[i]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        c = c << 6 | (next & 0x3F);
    }
    const char32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (c < least[more] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    return c;
}

void EncodeUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        std::optional<char32_t> c = DecodeUtf8(utf8, i);
        if (!c) return std::nullopt;
        if (*c < 0x10000) {
            out += static_cast<char16_t>(*c);
        } else {
            out += static_cast<char16_t>(0xD800 + ((*c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((*c - 0x10000) & 0x3FF));
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t c = utf16[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        if (high && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (utf16[++i] - 0xDC00);
        else if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD;
        EncodeUtf8(c, out);
    }
    return out;
}

}  // namespace pack::pe

#include "case_fold.h"

#include <cstdint>

namespace pack {

namespace {

// Lower-case letters first..last become c + delta; with every_other only first, first + 2, ...
// (blocks where capital and small letters alternate).
struct CaseRun {
    char32_t first, last;
    std::int32_t delta;
    bool every_other;
};

// Sorted by first. Taken from the Unicode simple upper-case mappings of these blocks.
// clang-format off
constexpr CaseRun kRuns[] = {
    // Basic Latin
    {0x0061, 0x007A, -32, false},
    // Latin-1 Supplement
    {0x00E0, 0x00F6, -32, false}, {0x00F8, 0x00FE, -32, false}, {0x00FF, 0x00FF, 121, false},
    // Latin Extended-A
    {0x0101, 0x012F, -1, true}, {0x0133, 0x0137, -1, true}, {0x013A, 0x0148, -1, true},
    {0x014B, 0x0177, -1, true}, {0x017A, 0x017E, -1, true},
    // Latin Extended-B, with the pinyin tone letters
    {0x0180, 0x0180, 195, false}, {0x0183, 0x0185, -1, true}, {0x0188, 0x0188, -1, false},
    {0x018C, 0x018C, -1, false}, {0x0192, 0x0192, -1, false}, {0x0195, 0x0195, 97, false},
    {0x0199, 0x0199, -1, false}, {0x019A, 0x019A, 163, false}, {0x019E, 0x019E, 130, false},
    {0x01A1, 0x01A5, -1, true}, {0x01A8, 0x01A8, -1, false}, {0x01AD, 0x01AD, -1, false},
    {0x01B0, 0x01B0, -1, false}, {0x01B4, 0x01B6, -1, true}, {0x01B9, 0x01B9, -1, false},
    {0x01BD, 0x01BD, -1, false}, {0x01BF, 0x01BF, 56, false}, {0x01C6, 0x01C6, -2, false},
    {0x01C9, 0x01C9, -2, false}, {0x01CC, 0x01CC, -2, false}, {0x01CE, 0x01DC, -1, true},
    {0x01DD, 0x01DD, -79, false}, {0x01DF, 0x01EF, -1, true}, {0x01F3, 0x01F3, -2, false},
    {0x01F5, 0x01F5, -1, false}, {0x01F9, 0x021F, -1, true}, {0x0223, 0x0233, -1, true},
    {0x023C, 0x023C, -1, false}, {0x023F, 0x0240, 10815, false}, {0x0242, 0x0242, -1, false},
    {0x0247, 0x024F, -1, true},
    // Greek; final sigma folds like sigma
    {0x0371, 0x0373, -1, true}, {0x0377, 0x0377, -1, false}, {0x037B, 0x037D, 130, false},
    {0x03AC, 0x03AC, -38, false}, {0x03AD, 0x03AF, -37, false}, {0x03B1, 0x03C1, -32, false},
    {0x03C2, 0x03C2, -31, false}, {0x03C3, 0x03CB, -32, false}, {0x03CC, 0x03CC, -64, false},
    {0x03CD, 0x03CE, -63, false}, {0x03D7, 0x03D7, -8, false}, {0x03D9, 0x03EF, -1, true},
    {0x03F2, 0x03F2, 7, false}, {0x03F3, 0x03F3, -116, false}, {0x03F8, 0x03F8, -1, false},
    {0x03FB, 0x03FB, -1, false},
    // Cyrillic
    {0x0430, 0x044F, -32, false}, {0x0450, 0x045F, -80, false}, {0x0461, 0x0481, -1, true},
    {0x048B, 0x04BF, -1, true}, {0x04C2, 0x04CE, -1, true}, {0x04CF, 0x04CF, -15, false},
    {0x04D1, 0x052F, -1, true},
    // Armenian
    {0x0561, 0x0586, -48, false},
    // Full-width Latin letters
    {0xFF41, 0xFF5A, -32, false},
};
// clang-format on

// Decodes one UTF-8 character at text[at]; false when the bytes there are not one.
bool DecodeUtf8(std::string_view text, std::size_t at, char32_t& c, std::size_t& length) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return c = lead, length = 1, true;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, c = lead & 0x1F;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, c = lead & 0x0F;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, c = lead & 0x07;
    else
        return false;
    if (at + length > text.size()) return false;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return false;
        c = c << 6 | (byte(i) & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    const char32_t min[] = {0, 0, 0x80, 0x800, 0x10000};
    return c >= min[length] && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

void AppendUtf8(std::string& out, char32_t c) {
    auto put = [&](unsigned v) { out += static_cast<char>(v); };
    if (c < 0x80) {
        put(c);
    } else if (c < 0x800) {
        put(0xC0 | c >> 6), put(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        put(0xE0 | c >> 12), put(0x80 | (c >> 6 & 0x3F)), put(0x80 | (c & 0x3F));
    } else {
        put(0xF0 | c >> 18), put(0x80 | (c >> 12 & 0x3F)), put(0x80 | (c >> 6 & 0x3F));
        put(0x80 | (c & 0x3F));
    }
}

}  // namespace

char32_t UpperCodePoint(char32_t c) {
    for (const CaseRun& run : kRuns) {
        if (c < run.first) break;
        if (c > run.last) continue;
        if (run.every_other && (c - run.first) % 2 != 0) return c;
        return static_cast<char32_t>(static_cast<std::int32_t>(c) + run.delta);
    }
    return c;
}

std::string UpperCaseForCompare(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        char32_t c = 0;
        std::size_t length = 1;
        if (DecodeUtf8(utf8, at, c, length)) {
            AppendUtf8(out, UpperCodePoint(c));
            at += length;
        } else {
            out += utf8[at++];
        }
    }
    return out;
}

}  // namespace pack

// Text in the system ANSI code page (936, GBK). One place for the rules every other unit relies on:
// case folding touches the ASCII letters only, trimming drops codes 0 to 32, and scans go by
// characters, so the second byte of a double-byte character (which may be 0x5C '\' or 0x7C '|')
// is never taken for a character of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace setup::text {

constexpr bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Length in bytes of the character that starts at text[pos]: 2 for a lead byte with a byte after
// it, else 1. A lead byte at the very end counts as one character.
std::size_t CharLength(std::string_view text, std::size_t pos);

std::string AsciiUpper(std::string_view text);
std::string AsciiLower(std::string_view text);
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

// Drops characters with codes 0 to 32 at both ends.
std::string_view Trim(std::string_view text);

// Position of the first single-byte character c, or npos.
std::size_t FindChar(std::string_view text, char c, std::size_t from = 0);
// Position of the last single-byte character c, or npos.
std::size_t FindLastChar(std::string_view text, char c);

// Splits at every single-byte character sep; n separators give n + 1 parts, empty ones kept.
std::vector<std::string_view> Split(std::string_view text, char sep);

// Replaces every single-byte character from by to.
std::string ReplaceChar(std::string_view text, char from, char to);

// The longest prefix of at most max_bytes bytes that does not cut a double-byte character.
std::string_view CutToBytes(std::string_view text, std::size_t max_bytes);

// Numbers as text without the C library's printf, which would add some 24 KB to the installer's
// program. Decimal digits of value, zero-padded on the left to at least width.
std::string Digits(std::uint64_t value, std::size_t width = 0);
// value with `decimals` digits after the point, rounded half up, space-padded on the left to at
// least width: FixedPoint(0.25, 3, 8) is "   0.250". Less than 0, or not a number, shows as 0.
std::string FixedPoint(double value, int decimals, std::size_t width = 0);

}  // namespace setup::text

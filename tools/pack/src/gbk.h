// The installer reads every text in code page 936 (GBK). The input files are UTF-8; these checks
// make sure each text has a GBK form and fits the string loader's 512-byte buffer, so nothing is
// lost or turned into "?" on the way into the executable.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pack {

// LoadStringA fills a 512-byte buffer: at most 511 bytes of text.
constexpr std::size_t kMaxTableLineBytes = 511;

// The text in code page 936 (glibc's "CP936", which like Windows maps U+20AC to 0x80). Nothing when
// the text is not valid UTF-8 or holds a character that code page 936 lacks.
std::optional<std::string> Utf8ToGbk(std::string_view utf8);

// The 1-based position (in characters) of the first character without a GBK form, or of the first
// invalid UTF-8 byte; 0 when the whole text converts. Makes error messages point at the culprit.
std::size_t FirstUnconvertible(std::string_view utf8);

// Names the first character without a GBK form, by position, the character itself and its code
// point, or says that it is not valid UTF-8.
std::string DescribeUnconvertible(std::string_view utf8);

// Why a line cannot be a string-table entry, or nothing: control characters other than TAB, no GBK
// form, or more than 511 bytes in GBK.
std::optional<std::string> CheckTableLine(std::string_view utf8);

}  // namespace pack

// Windows compares file names without regard to letter case, and not only for ASCII: "Я.txt" and
// "я.txt" are one file. These functions give a name's upper-case form for such comparisons.
#pragma once

#include <string>
#include <string_view>

namespace pack {

// The upper-case letter for a lower-case one in the Latin, Greek, Cyrillic and Armenian alphabets
// and the full-width forms; any other code point as it is. Only pairs that map back to each other
// are folded (and final sigma), so "ı" stays apart from "I" as it does on Windows.
char32_t UpperCodePoint(char32_t c);

// The text with every code point upper-cased as above. Bytes that are not valid UTF-8 are kept as
// they are, so distinct texts stay distinct.
std::string UpperCaseForCompare(std::string_view utf8);

}  // namespace pack

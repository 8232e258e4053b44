// Resource names and string tables are UTF-16; setup-pack's texts are UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pack::pe {

// Nothing when the text is not valid UTF-8 (bad sequences, overlong forms, surrogates).
std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8);

// A lone surrogate, which Windows allows in names and strings, becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace pack::pe

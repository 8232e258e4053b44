// The licence text: UTF-8 in the repository, GBK with CR LF line ends in the installer, which shows
// exactly the stored bytes (no terminating NUL).
#pragma once

#include <string>
#include <string_view>

#include "problem.h"

namespace pack {

struct Licence {
    std::string gbk;
    Problems problems;
};

// LF, CR LF and lone CR all become CR LF; a last line without a line end gets one, so the text
// ends with CR LF. A NUL would cut the text short and is refused, as is any character without a
// GBK form (named by line).
Licence ConvertLicence(std::string_view utf8, const std::string& file_name);

}  // namespace pack

// The installer's resources in memory for the window tests and the page gallery: the shipped
// settings, the skin atlas that the skin generator drew at build time (read through Wine's Z:
// drive), a licence text and a few payload names.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "doubles/memory_resources.h"
#include "support/shipped_settings.h"
#include "support/zlib_frame.h"

namespace setup::testing {

inline std::vector<std::uint8_t> ReadFileBytes(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline constexpr char kLicenceText[] = "软件许可协议\r\n第一条 本软件受著作权法保护。\r\n";

inline MemoryResources ShippedResources(std::string_view licence = kLicenceText) {
    MemoryResources r;
    for (unsigned i = 0; i < kShippedSettings.size(); ++i)
        r.SetString(1001 + i, std::string(kShippedSettings[i]));
    std::vector<std::uint8_t> atlas = ReadFileBytes(SETUP_TEST_ATLAS);
    r.SetResource(
        "MyRes1", "MainBmp",
        Frame(std::string_view(reinterpret_cast<const char*>(atlas.data()), atlas.size())));
    r.SetResource("MyRes2", "MainRect", Frame(licence));
    r.SetString(2000, "TessikOne商贸版.Exe");
    r.SetString(2001, "data*PrintDB.mdb");
    r.SetString(2002, "RepCenter*销售单.rpt");
    return r;
}

}  // namespace setup::testing

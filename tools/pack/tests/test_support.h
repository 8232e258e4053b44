// Scratch folders, files and small bitmaps for the setup-pack tests.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "format/setting_keys.h"

namespace pack {
namespace fs = std::filesystem;
}

namespace pack::testing {

// A fresh folder per test, removed afterwards.
class ScratchTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() / ("setup-pack-" + std::to_string(::getpid()) + "-" +
                                            info->test_suite_name() + "-" + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path dir_;
};

inline void WriteFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void PutLe(std::string& b, std::size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
}

// A bottom-up, uncompressed bitmap file of the given size and depth, headers filled in correctly.
inline std::string Bitmap(int width, int height, int bits = 24) {
    const std::size_t row = (static_cast<std::size_t>(width) * bits / 8 + 3) / 4 * 4;
    std::string b(54 + row * static_cast<std::size_t>(height < 0 ? -height : height), '\x7f');
    b[0] = 'B';
    b[1] = 'M';
    PutLe(b, 2, static_cast<std::uint32_t>(b.size()), 4);
    PutLe(b, 6, 0, 4);
    PutLe(b, 10, 54, 4);
    PutLe(b, 14, 40, 4);
    PutLe(b, 18, static_cast<std::uint32_t>(width), 4);
    PutLe(b, 22, static_cast<std::uint32_t>(height), 4);
    PutLe(b, 26, 1, 2);
    PutLe(b, 28, static_cast<std::uint32_t>(bits), 2);
    PutLe(b, 30, 0, 4);
    return b;
}

// The 23 settings lines, each key in its place: every rectangle rect, the program names naming
// files of the test payload (CONFIG.INI, empty.dat; letter case as Windows ignores it).
inline std::vector<std::string> SettingsLines(const std::string& rect = "0,0,4,2") {
    const char* product[] = {"Tessik软件", "A \"quoted\" C:\\path\tname",
                             "CONFIG.INI", "empty.dat",
                             "2017",       "6.0.2",
                             "服务器",     "config.ini",
                             "试用版",     "试用版.exe",
                             "免费版",     "免费版.exe"};
    std::vector<std::string> lines;
    for (int i = 0; i < setup::format::kSettingCount; ++i)
        lines.push_back(std::string(setup::format::kSettingKeys[i]) + "=" +
                        (i < setup::format::kRectSettingCount
                             ? rect
                             : product[i - setup::format::kRectSettingCount]));
    return lines;
}

inline std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

// The content of a framed resource: checks the length field against the inflated stream.
inline std::string Unframe(const std::string& framed) {
    if (framed.size() < 4) return "<short>";
    std::uint32_t length = 0;
    for (int i = 0; i < 4; ++i)
        length |= static_cast<std::uint32_t>(static_cast<unsigned char>(framed[i])) << (8 * i);
    std::string out(length, '\0');
    uLongf size = length;
    int rc = uncompress(reinterpret_cast<Bytef*>(out.data()), &size,
                        reinterpret_cast<const Bytef*>(framed.data() + 4), framed.size() - 4);
    if (rc != Z_OK || size != length) return "<bad stream>";
    return out;
}

}  // namespace pack::testing

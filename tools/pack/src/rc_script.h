// The resource script that carries everything into the installer: the settings and the file list
// in a Chinese (PRC) string table, one custom resource per payload entry, the skin and the licence.
// It stays UTF-8; windres -c 65001 turns the strings into UTF-16 and LoadStringA gives GBK back.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pack {

// Output file names, one per resource: "MyFile0000.bin" for payload entry 0, and so on.
std::string PayloadOutputName(std::size_t index);
inline constexpr char kSkinOutputName[] = "MainBmp.bin";
inline constexpr char kLicenceOutputName[] = "MainRect.bin";
inline constexpr char kScriptName[] = "setup.rc";

// A quoted windres string: "" for a quote, \\ for a backslash, \t for a tab.
std::string QuoteRcString(std::string_view text);

// The whole script. settings are the 23 lines for ids 1001 on; targets the payload paths (with
// "\", written with "*" in the table) for ids 2000 on; framed files are named under out_dir.
std::string BuildRcScript(const std::vector<std::string>& settings,
                          const std::vector<std::string>& targets,
                          const std::filesystem::path& out_dir);

}  // namespace pack

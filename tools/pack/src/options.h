// Command line of setup-pack.
#pragma once

#include <filesystem>
#include <string>

namespace pack {

struct Options {
    std::filesystem::path settings, payload, order, skin, licence, out;
    unsigned jobs = 0;  // 0: one per hardware thread
    bool quiet = false;
    bool help = false;
};

// False with a message in error when the arguments are incomplete or not understood.
bool ParseOptions(int argc, const char* const* argv, Options& options, std::string& error);

const char* HelpText();

}  // namespace pack

// Command line of setup-pack.
#pragma once

#include <filesystem>
#include <string>

#include "format/solid_table.h"

namespace pack {

struct Options {
    std::filesystem::path settings, payload, order, skin, licence, out;
    std::filesystem::path stub = {}, installer = {};  // --installer: the finished installer
    std::filesystem::path list = {};                  // --list: show what an installer carries
    std::filesystem::path deploy = {};  // --deploy: the deployment tools' files, with --installer
    std::filesystem::path init = {};    // --init: a new product's starting files
    unsigned jobs = 0;                  // 0: one per hardware thread
    // --codec zstd or lzma: the solid payload instead of one framed file per entry
    bool solid = false;
    setup::format::SolidCodec codec = setup::format::SolidCodec::Zstd;
    bool quiet = false;
    bool help = false;
};

// False with a message in error when the arguments are incomplete or not understood.
bool ParseOptions(int argc, const char* const* argv, Options& options, std::string& error);

const char* HelpText();

}  // namespace pack

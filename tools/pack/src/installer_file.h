// The finished installer, written by setup-pack itself into the prebuilt installer program (the
// stub): the settings and the file list in the string table, the framed payload, skin, licence
// and checksums as custom resources, all in language 2052, as the resource script would give them,
// and a version resource naming the product. The stub's own resources (manifest, icon) stay.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "version_resource.h"

namespace pack {

struct InstallerParts {
    std::vector<std::string> settings;  // UTF-8, ids 1001 on
    std::vector<std::string> targets;   // UTF-8 with "\", ids 2000 on
    std::vector<std::filesystem::path> payload;  // framed, one per target
    std::filesystem::path skin, licence, checksums;  // framed skin and licence, the checksums
    std::vector<std::filesystem::path> solid_blocks;  // a solid payload instead of framed entries
    std::filesystem::path solid_table;
    VersionTexts version;
};

// Why the stub cannot take the payload, or "": checked before anything is framed.
std::string CheckStubFile(const std::filesystem::path& stub);

// Writes the installer (through a temporary file, renamed at the end). False with a message in
// error, which names the file and the system's reason.
bool WriteInstallerFile(const std::filesystem::path& stub, const InstallerParts& parts,
                        const std::filesystem::path& installer, std::string& error);

// Where the build puts the stub: beside setup-pack itself.
std::filesystem::path DefaultStub(const char* argv0);

}  // namespace pack

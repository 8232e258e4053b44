// The solid payload (format/solid_table.h) as setup-pack writes it: the entries cut into blocks,
// each block compressed with zstd or LZMA on its own thread, the blocks and the block table written into
// the output folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "format/solid_table.h"
#include "order_file.h"

namespace pack {

inline constexpr char kSolidStampsName[] = "solid.stamps";
std::string SolidBlockOutputName(std::size_t block);

// The blocks for entries of these sizes: closed once they hold the codec's block target
// (format::SolidBlockTarget), an entry never split. Sets problem when an entry is larger than a
// block may be.
setup::format::SolidTable CutIntoBlocks(const std::vector<std::uint64_t>& sizes,
                                        setup::format::SolidCodec codec, std::string& problem);

struct SolidOutputs {
    std::vector<std::filesystem::path> blocks;
    std::filesystem::path table;
    bool compressed = false;  // false: the sources had not changed since the last run
};

// Writes the blocks and the table into out on up to threads threads, or leaves them when the
// entries' sources are as the last run recorded. False with a message in error.
bool WriteSolidPayload(const std::vector<PayloadEntry>& entries, setup::format::SolidCodec codec,
                       const std::filesystem::path& out, unsigned threads, SolidOutputs& outputs,
                       std::string& error);

}  // namespace pack

// What the payload needs of the volume it is installed to, and the folders it goes into below
// the installation folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace setup {

struct PayloadFootprint {
    std::vector<std::uint64_t> file_bytes;  // each entry once unpacked
    std::size_t folders = 0;                // the installation folder and those below it
    // Each file rounded up to whole allocation units of cluster bytes, and one unit for each
    // folder; the plain sum of the files when the unit is not known (0).
    std::uint64_t OnVolume(std::uint64_t cluster) const;
};

// The folders the entries of the payload list go into, relative to the installation folder, each
// once (ASCII case aside), outermost first; "" stands for the installation folder itself and
// always comes first. Names lose codes 0 to 32 at their ends, as the run makes them; an entry
// with a name that breaks the rules for a target path (format/target_path.h) gives none, since
// the run refuses it before making anything.
std::vector<std::string> PayloadFolders(const std::vector<std::string>& list);

// Removes what a killed run left of its writes (FileSystem::RemoveWriteLeftovers) in the
// installation folder and each of the payload's folders in it.
void RemoveWriteLeftovers(FileSystem& files, const std::string& install_dir,
                          const std::vector<std::string>& folders);

}  // namespace setup

// One run of setup-pack: check every input, then write what changed.
#pragma once

#include <ostream>

#include "options.h"

namespace pack {

// Returns the exit code: 0 done, 1 bad input or a failed write. Problems, warnings, progress and
// the summary go to log.
int RunPack(const Options& options, std::ostream& log);

}  // namespace pack

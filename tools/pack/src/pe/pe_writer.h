// Writes a finished executable: a prebuilt stub with resources added, without a compiler or a
// linker. Every section and resource of the stub is kept; a new resource with the stub's type,
// name and language replaces it, except string-table blocks, which are merged string by string.
// The whole tree goes into one fresh resource section, and the header fields that describe the
// image (section count, image size, initialized data size, resource directory, CheckSum) are
// updated. Resource data are streamed, so a large payload is never held in memory.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>

#include "pe/resource_set.h"

namespace pack::pe {

// Why the stub cannot take resources, or empty. Signed stubs, stubs with data after their last
// section (an overlay or a symbol table) and damaged ones are refused, as are stubs whose
// resource section is not last and that have no room for another section header. Lets a caller
// refuse a stub before it prepares the payload.
std::string CheckStub(std::string_view stub);

// Writes the finished executable to out, which must be seekable (the CheckSum is filled in last).
// False with error set on failure; then out holds a partial file.
bool WriteExecutable(std::string_view stub, const ResourceSet& additions, std::ostream& out,
                     std::string& error);

// The same to a file, through path.tmp renamed at the end, so path is never left half written.
bool WriteExecutableFile(std::string_view stub, const ResourceSet& additions,
                         const std::filesystem::path& path, std::string& error);

}  // namespace pack::pe

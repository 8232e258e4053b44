// The files of the full-size payload: names, sizes and kinds, in the installer's order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bigpayload {

// What a file's bytes look like, which decides how well it compresses.
enum class Kind {
    Program,   // code and tables: partly random, partly repetitive
    Help,      // an already compressed help file: mostly random
    Database,  // fixed-size records and empty pages
    Text,      // configuration, logs and report definitions
    Image,     // PNG and JPEG: compressed pixels
    Bitmap,    // uncompressed pixels with gradients
};

struct FileSpec {
    std::string path;  // with "\" between folders, UTF-8
    std::uint64_t size;
    Kind kind;
};

// 27 files in the root, 29 under data (8 of them in data\log), 13 under RepCenter and 192 under
// Skin; 95,544,095 bytes in all, the largest 24,202,752. The same list on every run.
std::vector<FileSpec> PayloadLayout();

}  // namespace bigpayload

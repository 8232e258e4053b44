// bigpayload --out DIR: writes DIR/payload/... and DIR/payload.order, a full-size payload of the
// shipped shape for the packing benchmark. The same bytes on every run.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "content.h"
#include "layout.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc != 3 || std::string_view(argv[1]) != "--out") {
        std::fprintf(
            argc == 2 && std::string_view(argv[1]) == "--help" ? stdout : stderr,
            "usage: bigpayload --out DIR\n"
            "Writes DIR/payload/ (261 files in the installer's folder layout, 95,544,095\n"
            "bytes) and DIR/payload.order (their target paths, \"\\\" between folders).\n");
        return argc == 2 && std::string_view(argv[1]) == "--help" ? 0 : 2;
    }
    const fs::path out = argv[2];
    std::error_code ec;
    fs::create_directories(out, ec);
    bigpayload::Random random(261);
    std::ofstream order(out / "payload.order", std::ios::binary | std::ios::trunc);
    std::uint64_t total = 0;
    for (const bigpayload::FileSpec& spec : bigpayload::PayloadLayout()) {
        std::string relative = spec.path;
        for (char& c : relative)
            if (c == '\\') c = '/';
        const fs::path file = out / "payload" / relative;
        fs::create_directories(file.parent_path());
        std::ofstream content(file, std::ios::binary | std::ios::trunc);
        bigpayload::WriteContent(content, spec, random);
        if (!content.flush()) {
            std::fprintf(stderr, "bigpayload: cannot write %s\n", file.c_str());
            return 1;
        }
        order << spec.path << "\n";
        total += spec.size;
    }
    if (!order.flush()) {
        std::fprintf(stderr, "bigpayload: cannot write %s\n", (out / "payload.order").c_str());
        return 1;
    }
    std::printf("bigpayload: %llu bytes in %s\n", static_cast<unsigned long long>(total),
                (out / "payload").c_str());
    return 0;
}

// skingen: draws the installer's skin atlas and writes it as a 24-bit BMP.
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "atlas.h"
#include "bmp.h"
#include "font.h"
#include "layout.h"

#ifndef SKINGEN_DEFAULT_FONT
#define SKINGEN_DEFAULT_FONT "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
#endif

namespace {

void printUsage(std::FILE* to) {
    std::fprintf(to,
                 "usage: skingen --out FILE [--font FILE]\n"
                 "       skingen --pieces\n"
                 "Draws the installer skin atlas (1025 x 757, 24-bit BMP) into FILE.\n"
                 "  --out FILE   where to write the atlas\n"
                 "  --font FILE  TrueType/TTC font with Chinese glyphs\n"
                 "               (default %s)\n"
                 "  --pieces     list each piece as: key x y width height\n"
                 "  --help       show this text\n",
                 SKINGEN_DEFAULT_FONT);
}

struct Options {
    std::string out;
    std::string font = SKINGEN_DEFAULT_FONT;
    bool help = false;
    bool pieces = false;
};

// Returns false with a message on stderr for anything it does not understand.
bool parseArgs(int argc, char** argv, Options& opts) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            opts.help = true;
        } else if (arg == "--pieces") {
            opts.pieces = true;
        } else if ((arg == "--out" || arg == "--font") && i + 1 < argc) {
            (arg == "--out" ? opts.out : opts.font) = argv[++i];
        } else {
            std::fprintf(stderr, "skingen: unexpected argument '%s'\n", argv[i]);
            return false;
        }
    }
    if (!opts.help && !opts.pieces && opts.out.empty()) {
        std::fprintf(stderr, "skingen: --out FILE is required\n");
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options opts;
    if (!parseArgs(argc, argv, opts)) {
        printUsage(stderr);
        return 2;
    }
    if (opts.help) {
        printUsage(stdout);
        return 0;
    }
    if (opts.pieces) {
        // Lets scripts cut the pieces out without keeping their own copy of the layout.
        for (const auto& p : skingen::kPieces)
            std::printf("%.*s %d %d %d %d\n", static_cast<int>(p.key.size()), p.key.data(),
                        p.rect.x, p.rect.y, p.rect.w, p.rect.h);
        return 0;
    }
    try {
        const skingen::Font font(opts.font);
        const auto bytes = skingen::encodeBmp(skingen::renderAtlas(font));
        std::string error;
        if (!skingen::writeFile(opts.out, bytes, error)) {
            std::fprintf(stderr, "skingen: %s\n", error.c_str());
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skingen: %s\n", e.what());
        return 1;
    }
    return 0;
}

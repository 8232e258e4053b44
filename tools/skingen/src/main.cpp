// skingen: draws the installer's skin atlas and writes it as a 24-bit BMP, and draws the
// program icon and writes it as a Windows .ico.
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "atlas.h"
#include "bmp.h"
#include "font.h"
#include "ico.h"
#include "icon_art.h"
#include "layout.h"

#ifndef SKINGEN_DEFAULT_FONT
#define SKINGEN_DEFAULT_FONT "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
#endif

namespace {

void printUsage(std::FILE* to) {
    std::fprintf(to,
                 "usage: skingen --out FILE [--icon FILE] [--font FILE]\n"
                 "       skingen --icon FILE\n"
                 "       skingen --pieces\n"
                 "Draws the installer skin atlas (1025 x 757, 24-bit BMP) and the program icon.\n"
                 "  --out FILE   where to write the atlas\n"
                 "  --icon FILE  where to write the icon: a Windows .ico with the globe emblem\n"
                 "               at 16, 32 and 48 px (32-bit with alpha) and 256 px (PNG)\n"
                 "  --font FILE  TrueType/TTC font with Chinese glyphs, for the atlas\n"
                 "               (default %s)\n"
                 "  --pieces     list each piece as: key x y width height\n"
                 "  --help       show this text\n",
                 SKINGEN_DEFAULT_FONT);
}

struct Options {
    std::string out;
    std::string icon;
    std::string font = SKINGEN_DEFAULT_FONT;
    bool help = false;
    bool pieces = false;
};

// Whether two names lead to one file, through links or dot segments too. Writing the atlas
// and the icon there would keep only the icon.
bool sameFile(const std::string& a, const std::string& b) {
    std::error_code errorA, errorB;
    const auto pathA = std::filesystem::weakly_canonical(a, errorA);
    const auto pathB = std::filesystem::weakly_canonical(b, errorB);
    return errorA || errorB ? a == b : pathA == pathB;
}

// Returns false with a message on stderr for anything it does not understand.
bool parseArgs(int argc, char** argv, Options& opts) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            opts.help = true;
        } else if (arg == "--pieces") {
            opts.pieces = true;
        } else if ((arg == "--out" || arg == "--icon" || arg == "--font") && i + 1 < argc) {
            (arg == "--out" ? opts.out : arg == "--icon" ? opts.icon : opts.font) = argv[++i];
        } else {
            std::fprintf(stderr, "skingen: unexpected argument '%s'\n", argv[i]);
            return false;
        }
    }
    if (opts.help || opts.pieces) return true;
    if (opts.out.empty() && opts.icon.empty()) {
        std::fprintf(stderr, "skingen: --out FILE or --icon FILE is required\n");
        return false;
    }
    if (!opts.out.empty() && !opts.icon.empty() && sameFile(opts.out, opts.icon)) {
        std::fprintf(stderr, "skingen: --out and --icon name the same file\n");
        return false;
    }
    return true;
}

struct Output {
    std::string path;
    std::vector<std::uint8_t> bytes;
};

// Everything asked for is drawn before anything is written, so a run that cannot draw, say
// for want of a font, leaves no files behind.
std::vector<Output> render(const Options& opts) {
    std::vector<Output> outputs;
    if (!opts.out.empty()) {
        const skingen::Font font(opts.font);
        outputs.push_back({opts.out, skingen::encodeBmp(skingen::renderAtlas(font))});
    }
    if (!opts.icon.empty())
        outputs.push_back({opts.icon, skingen::encodeIco(skingen::drawIconImages())});
    return outputs;
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
        for (const Output& output : render(opts)) {
            std::string error;
            if (!skingen::writeFile(output.path, output.bytes, error)) {
                std::fprintf(stderr, "skingen: %s\n", error.c_str());
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skingen: %s\n", e.what());
        return 1;
    }
    return 0;
}

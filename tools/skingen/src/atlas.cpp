#include "atlas.h"

#include <stdexcept>
#include <string>

#include "layout.h"
#include "palette.h"
#include "pieces.h"

namespace skingen {
namespace {

Canvas drawPiece(std::string_view key, const Font& font, Rect rect) {
    if (key == "FrmTop1BackRect") return drawTopBar(false);
    if (key == "FrmTop2BackRect") return drawTopBar(true);
    if (key == "FrmCenter1BackRect") return drawPage(font, 0);
    if (key == "FrmCenter2BackRect") return drawPage(font, 1);
    if (key == "FrmCenter3BackRect") return drawPage(font, 2);
    if (key == "FrmCenter4BackRect") return drawPage(font, 3);
    if (key == "FrmBottomBackRect") return drawBottomBand();
    if (key == "PrBBackRect") {
        // Edges blend toward the page the frame is drawn on; the corners are the key.
        return drawProgressFrame(rect.w, rect.h, pageColourAt(260), palette::kKey);
    }
    if (key == "PrBBarRect") return drawProgressBar(rect.w, rect.h);
    if (key == "BtnRect") return drawButtonStrip();
    if (key == "BtnCloseRect") return drawCloseStrip();
    throw std::logic_error("no drawing for skin piece " + std::string(key));
}

}  // namespace

Canvas renderAtlas(const Font& font) {
    Canvas atlas(kAtlasWidth, kAtlasHeight, palette::kAtlasGap);
    for (const Piece& piece : kPieces) {
        const Canvas art = drawPiece(piece.key, font, piece.rect);
        // A piece drawn at the wrong size would shift everything the installer cuts out.
        if (art.width() != piece.rect.w || art.height() != piece.rect.h)
            throw std::logic_error("skin piece " + std::string(piece.key) + " has the wrong size");
        atlas.blit(art, piece.rect.x, piece.rect.y);
    }
    return atlas;
}

}  // namespace skingen

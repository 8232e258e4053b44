#include "font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cmath>
#include <cstdio>
#include <vector>

namespace skingen {
namespace {

// Outlines only, light hinting: embedded bitmaps would look different at each size.
constexpr FT_Int32 kLoadFlags = FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT;
// Synthetic bold thickens strokes by this much, in 26.6 fixed point (0.75 px).
constexpr FT_Pos kBoldStrength = 48;

std::vector<char32_t> decodeUtf8(std::string_view s) {
    std::vector<char32_t> out;
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = s[i];
        const int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < s.size(); ++k) cp = (cp << 6) | (s[i + k] & 0x3F);
        out.push_back(cp);
        i += extra + 1;
    }
    return out;
}

}  // namespace

struct Font::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    std::string path;

    // Loads one glyph's outline at the style's size; bold thickens it before rendering.
    // A font without the character is an error: a skin with blank captions must not ship.
    FT_GlyphSlot load(char32_t cp, const TextStyle& style) const {
        if (FT_Get_Char_Index(face, cp) == 0) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
            throw FontError("font " + path + " has no glyph for " + code);
        }
        FT_Set_Pixel_Sizes(face, 0, style.pixelSize);
        if (FT_Load_Char(face, cp, kLoadFlags) != 0) return nullptr;
        if (style.bold && face->glyph->format == FT_GLYPH_FORMAT_OUTLINE)
            FT_Outline_EmboldenXY(&face->glyph->outline, kBoldStrength, kBoldStrength / 2);
        return face->glyph;
    }

    static int advance(FT_GlyphSlot slot, const TextStyle& style) {
        return static_cast<int>((slot->advance.x + 32) >> 6) + (style.bold ? 1 : 0);
    }
};

Font::Font(const std::string& path) : impl_(std::make_unique<Impl>()) {
    impl_->path = path;
    if (FT_Init_FreeType(&impl_->library) != 0) throw FontError("cannot start FreeType");
    if (FT_New_Face(impl_->library, path.c_str(), 0, &impl_->face) != 0) {
        FT_Done_FreeType(impl_->library);
        throw FontError("cannot open font " + path +
                        " (install the fonts-wqy-microhei package or pass --font FILE)");
    }
}

Font::~Font() {
    FT_Done_Face(impl_->face);
    FT_Done_FreeType(impl_->library);
}

int Font::measure(std::string_view utf8, const TextStyle& style) const {
    int width = 0;
    for (char32_t cp : decodeUtf8(utf8))
        if (FT_GlyphSlot slot = impl_->load(cp, style)) width += Impl::advance(slot, style);
    return width;
}

int Font::ascent(const TextStyle& style) const {
    // A full-height ideograph's top is a better optical centre line than the font's
    // ascender, which leaves room for accents.
    FT_GlyphSlot slot = impl_->load(U'国', style);
    return slot ? static_cast<int>((slot->metrics.horiBearingY + 32) >> 6) : style.pixelSize;
}

void Font::draw(Canvas& canvas, std::string_view utf8, int x, int baseline,
                const TextStyle& style) const {
    int pen = x;
    for (char32_t cp : decodeUtf8(utf8)) {
        FT_GlyphSlot slot = impl_->load(cp, style);
        if (!slot || FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) continue;
        const FT_Bitmap& bm = slot->bitmap;
        for (unsigned row = 0; row < bm.rows; ++row) {
            for (unsigned col = 0; col < bm.width; ++col) {
                const unsigned char a = bm.buffer[row * bm.pitch + col];
                canvas.blend(pen + slot->bitmap_left + static_cast<int>(col),
                             baseline - slot->bitmap_top + static_cast<int>(row), style.colour,
                             a / 255.0);
            }
        }
        pen += Impl::advance(slot, style);
    }
}

void Font::drawCentred(Canvas& canvas, std::string_view utf8, double cx, double cy,
                       const TextStyle& style) const {
    const int x = static_cast<int>(std::lround(cx - measure(utf8, style) / 2.0));
    const int baseline = static_cast<int>(std::lround(cy + ascent(style) / 2.0));
    draw(canvas, utf8, x, baseline, style);
}

}  // namespace skingen

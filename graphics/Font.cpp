// LoadFont: cuts a strip of 96 cells into the glyphs of characters 32..127.
#include "graphics/Font.h"

#include "graphics/Image.h"

namespace {
constexpr int kCellCount = 96;
constexpr int kFirstCharacter = 32;
}  // namespace

std::shared_ptr<c_Font> LoadFont(c_GraphicsContext& context, const String& path, bool padded) {
    std::shared_ptr<c_Image> image = LoadImage(context, path, DefaultImageFlags());
    if (!image) return nullptr;
    const int cellWidth = image->Width() / kCellCount;
    if (cellWidth <= 0) return nullptr;
    const int columns = image->Width() / cellWidth;
    const int pad = padded ? 1 : 0;
    const int glyphWidth = cellWidth - 2 * pad;
    const int glyphHeight = image->Height() - 2 * pad;

    auto font = std::make_shared<c_Font>();
    font->pages.push_back(image);
    font->pageCount = 1;
    font->firstCharacter = kFirstCharacter;
    font->height = static_cast<float>(glyphHeight);
    font->glyphs.reserve(kCellCount);
    for (int i = 0; i < kCellCount; ++i) {
        const int row = i / columns, column = i % columns;
        c_Glyph glyph;
        glyph.page = 0;
        glyph.character = kFirstCharacter + i;
        glyph.x = pad + column * cellWidth;
        glyph.y = pad + row * image->Height();
        glyph.width = glyphWidth;
        glyph.advance = glyphWidth;
        glyph.height = glyphHeight;
        font->glyphs[glyph.character] = glyph;
    }
    return font;
}

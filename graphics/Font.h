// c_Font: glyphs cut from page images; c_Glyph: one character's source
// rectangle, advance and placement. LoadFont reads a strip of 96 equal cells
// for the characters 32..127.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "runtime/Object.h"
#include "runtime/String.h"

class c_Image;
class c_GraphicsContext;

struct c_Glyph {
    int page = 0;
    int character = 0;
    int x = 0, y = 0;
    int width = 0, height = 0;
    int advance = 0;
    int xOffset = 0, yOffset = 0;
};

class c_Font : public Object {
public:
    // The glyph for a character code, or none.
    const c_Glyph* FindGlyph(int character) const {
        auto found = glyphs.find(character);
        return found == glyphs.end() ? nullptr : &found->second;
    }

    std::vector<std::shared_ptr<c_Image>> pages;
    int pageCount = 0;
    int firstCharacter = 0;
    float height = 0;
    std::unordered_map<int, c_Glyph> glyphs;
};

// None when the image can't be loaded or is narrower than 96 pixels (its cells
// would be empty).
std::shared_ptr<c_Font> LoadFont(c_GraphicsContext& context, const String& path, bool padded);

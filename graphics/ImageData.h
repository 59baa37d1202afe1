// LoadImageData: decodes an image file (any format stb_image reads) into
// tightly packed 8-bit pixel rows, top row first, keeping the file's channels.
#pragma once

#include <optional>
#include <vector>

#include "runtime/String.h"

struct ImageData {
    std::vector<unsigned char> pixels;
    int width = 0;
    int height = 0;
    int depth = 0;  // bytes per pixel: 1 grey, 2 grey+alpha, 3 RGB, 4 RGBA
};

// Opens the path with OpenFile (data-path mapping applies); none when the file
// can't be opened or decoded.
std::optional<ImageData> LoadImageData(const String& path);

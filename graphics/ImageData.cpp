// LoadImageData over stb_image; the decoder itself comes from Debian's libstb,
// which already exports the stbi_* functions, so no implementation is compiled here.
#include "graphics/ImageData.h"

#include <stb_image.h>

#include <cstdio>

#include "io/DataPath.h"

std::optional<ImageData> LoadImageData(const String& path) {
    FILE* file = OpenFile(path, "rb");
    if (!file) return std::nullopt;
    int width = 0, height = 0, depth = 0;
    unsigned char* decoded = stbi_load_from_file(file, &width, &height, &depth, 0);
    std::fclose(file);
    if (!decoded) return std::nullopt;
    if (width <= 0 || height <= 0 || depth < 1 || depth > 4) {
        stbi_image_free(decoded);
        return std::nullopt;
    }
    ImageData image;
    image.width = width;
    image.height = height;
    image.depth = depth;
    const size_t size = static_cast<size_t>(width) * static_cast<size_t>(height) * static_cast<size_t>(depth);
    image.pixels.assign(decoded, decoded + size);
    stbi_image_free(decoded);
    return image;
}

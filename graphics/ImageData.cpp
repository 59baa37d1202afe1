// LoadImageData over stb_image; the decoder itself comes from Debian's libstb,
// which already exports the stbi_* functions, so no implementation is compiled here.
#include "graphics/ImageData.h"

#include <stb_image.h>

#include <cstdio>

#include "io/DataPath.h"

namespace {
// A few bytes of run-length data can claim a gigabyte of pixels; nothing the
// tracker draws comes near these sizes, so larger images are refused before
// anything is allocated.
constexpr int kMaxImageSide = 16384;
constexpr long long kMaxImagePixels = 16LL * 1024 * 1024;
}  // namespace

std::optional<ImageData> LoadImageData(const String& path) {
    FILE* file = OpenFile(path, "rb");
    if (!file) return std::nullopt;
    int width = 0, height = 0, depth = 0;
    const long origin = std::ftell(file);
    if (!stbi_info_from_file(file, &width, &height, &depth) || width <= 0 || height <= 0 || width > kMaxImageSide ||
        height > kMaxImageSide || static_cast<long long>(width) * height > kMaxImagePixels ||
        std::fseek(file, origin, SEEK_SET) != 0) {
        std::fclose(file);
        return std::nullopt;
    }
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

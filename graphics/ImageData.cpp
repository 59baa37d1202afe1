// LoadImageData over stb_image; the decoder itself comes from Debian's libstb,
// which already exports the stbi_* functions, so no implementation is compiled here.
// The file is read whole and checked before the decoder sees it: only PNG
// passes, and stb_image trusts sizes in headers and allocates what they claim.
#include "graphics/ImageData.h"

#include <stb_image.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "io/DataPath.h"

namespace {
// A few bytes of run-length data can claim a gigabyte of pixels; nothing the
// tracker draws comes near these sizes, so larger images are refused before
// anything is allocated.
constexpr int kMaxImageSide = 16384;
constexpr long long kMaxImagePixels = 16LL * 1024 * 1024;

// Only PNG is decoded: the tracker ships nothing else, and the decoder's
// other formats carry their own faults (a crafted 710-byte JPEG makes it read
// uninitialised memory). Anything else is refused before the decoder sees it.
bool IsPng(const std::vector<unsigned char>& bytes) {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return bytes.size() >= 8 && std::memcmp(bytes.data(), kSignature, 8) == 0;
}

// A PNG whose chunks claim more bytes than the file holds is damaged; the
// decoder would grow its buffer to the claimed size before finding out.
bool PngChunksFit(const std::vector<unsigned char>& bytes) {
    size_t at = 8;
    while (at + 8 <= bytes.size()) {
        const uint64_t length = (static_cast<uint64_t>(bytes[at]) << 24) |
                                (static_cast<uint64_t>(bytes[at + 1]) << 16) |
                                (static_cast<uint64_t>(bytes[at + 2]) << 8) | bytes[at + 3];
        if (length + 12 > bytes.size() - at) return false;
        if (std::memcmp(bytes.data() + at + 4, "IEND", 4) == 0) return true;
        at += static_cast<size_t>(length) + 12;
    }
    return true;  // cut short: the decoder reports that itself
}

bool ReadWhole(FILE* file, std::vector<unsigned char>& bytes) {
    unsigned char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    return !std::ferror(file);
}
}  // namespace

std::optional<ImageData> LoadImageData(const String& path) {
    FILE* file = OpenRegularFile(path);
    if (!file) return std::nullopt;
    std::vector<unsigned char> bytes;
    const bool read = ReadWhole(file, bytes);
    std::fclose(file);
    if (!read || !IsPng(bytes) || bytes.size() > 0x7FFFFFFF || !PngChunksFit(bytes)) return std::nullopt;
    const int size = static_cast<int>(bytes.size());
    int width = 0, height = 0, depth = 0;
    if (!stbi_info_from_memory(bytes.data(), size, &width, &height, &depth) || width <= 0 || height <= 0 ||
        width > kMaxImageSide || height > kMaxImageSide || static_cast<long long>(width) * height > kMaxImagePixels)
        return std::nullopt;
    unsigned char* decoded = stbi_load_from_memory(bytes.data(), size, &width, &height, &depth, 0);
    if (!decoded) return std::nullopt;
    if (width <= 0 || height <= 0 || depth < 1 || depth > 4) {
        stbi_image_free(decoded);
        return std::nullopt;
    }
    ImageData image;
    image.width = width;
    image.height = height;
    image.depth = depth;
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height) * static_cast<size_t>(depth);
    image.pixels.assign(decoded, decoded + pixels);
    stbi_image_free(decoded);
    return image;
}

// gxtkSurface: premultiplied pixel copy and the texture made from it on
// demand, once per GL context generation; and the driver's surface
// operations: loading, making and writing pixels into a surface.
//
// Sections: surface | the driver's surface operations
#include "graphics/GlApi.h"
#include "graphics/GlResources.h"
#include "graphics/ImageData.h"
#include "graphics/gxtkGraphics.h"

// ---- surface ----

gxtkSurface::gxtkSurface(GlApi& gl) : gl_(gl) {}

gxtkSurface::~gxtkSurface() { Discard(); }

void gxtkSurface::Discard() {
    if (textureGeneration == ContextGeneration() && textureGeneration != -1) {
        gl_.DeleteTextures(1, &texture);
        textureGeneration = -1;
    }
    pixels.clear();
    pixels.shrink_to_fit();
}

void gxtkSurface::SetPixels(std::vector<unsigned char> decoded, int pixelWidth, int pixelHeight, int bytesPerPixel) {
    pixels = std::move(decoded);
    width = pixelWidth;
    height = pixelHeight;
    depth = bytesPerPixel;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    switch (depth) {
        case 1:
            format = GL_LUMINANCE;
            break;
        case 2:
            format = GL_LUMINANCE_ALPHA;
            for (size_t i = 0; i < count; ++i) {
                unsigned char* p = &pixels[i * 2];
                p[0] = static_cast<unsigned char>(p[0] * p[1] / 255);
            }
            break;
        case 3:
            format = GL_RGB;
            break;
        default:
            format = GL_RGBA;
            for (size_t i = 0; i < count; ++i) {
                unsigned char* p = &pixels[i * 4];
                for (int c = 0; c < 3; ++c) p[c] = static_cast<unsigned char>(p[c] * p[3] / 255);
            }
            break;
    }
}

void gxtkSurface::Bind() {
    const int generation = ContextGeneration();
    if (generation == 0) return;
    if (textureGeneration == generation) {
        gl_.BindTexture(GL_TEXTURE_2D, texture);
        return;
    }
    textureGeneration = generation;
    const graphics::TextureStorage storage =
        graphics::MakeTexture(gl_, &texture, width, height, static_cast<GLint>(format), format);
    uScale = 1.0f / static_cast<float>(storage.width);
    vScale = 1.0f / static_cast<float>(storage.height);

    if (!pixels.empty()) {
        gl_.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
        gl_.TexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, format, GL_UNSIGNED_BYTE, pixels.data());
    }
}

// ---- the driver's surface operations ----

std::shared_ptr<gxtkSurface> gxtkGraphics::LoadSurface(const String& path) {
    auto surface = std::make_shared<gxtkSurface>(gl_);
    if (!LoadSurfaceInto(*surface, path)) return nullptr;
    return surface;
}

bool gxtkGraphics::LoadSurfaceInto(gxtkSurface& surface, const String& path) {
    std::optional<ImageData> image = LoadImageData(path);
    if (!image) return false;
    surface.SetPixels(std::move(image->pixels), image->width, image->height, image->depth);
    surface.Bind();
    return true;
}

std::shared_ptr<gxtkSurface> gxtkGraphics::CreateSurface(int width, int height) {
    auto surface = std::make_shared<gxtkSurface>(gl_);
    surface->width = width;
    surface->height = height;
    surface->depth = 4;
    surface->format = GL_RGBA;
    surface->Bind();
    return surface;
}

void gxtkGraphics::WritePixels(gxtkSurface& surface, const std::vector<int>& pixels, int x, int y, int width,
                               int height, int offset, int pitch) {
    if (surface.depth != 4 || width <= 0 || height <= 0) return;
    // A rectangle outside the surface would write past its pixel copy.
    if (x < 0 || y < 0 || x + width > surface.width || y + height > surface.height) return;
    const size_t surfaceBytes = static_cast<size_t>(surface.width) * static_cast<size_t>(surface.height) * 4;
    if (surface.pixels.size() != surfaceBytes) surface.pixels.assign(surfaceBytes, 0);
    const long long size = static_cast<long long>(pixels.size());
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const long long index = static_cast<long long>(offset) + static_cast<long long>(row) * pitch + column;
            if (index < 0 || index >= size) continue;
            const uint32_t argb = static_cast<uint32_t>(pixels[static_cast<size_t>(index)]);
            const unsigned a = argb >> 24, r = (argb >> 16) & 255, g = (argb >> 8) & 255, b = argb & 255;
            unsigned char* p =
                &surface.pixels[(static_cast<size_t>(y + row) * static_cast<size_t>(surface.width) + x + column) * 4];
            p[0] = static_cast<unsigned char>(r * a / 255);
            p[1] = static_cast<unsigned char>(g * a / 255);
            p[2] = static_cast<unsigned char>(b * a / 255);
            p[3] = static_cast<unsigned char>(a);
        }
    }
    if (surface.textureGeneration == ContextGeneration() && surface.textureGeneration > 0) {
        surface.Bind();
        gl_.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
        gl_.PixelStorei(GL_UNPACK_ROW_LENGTH, surface.width);
        const unsigned char* first =
            &surface.pixels[(static_cast<size_t>(y) * static_cast<size_t>(surface.width) + x) * 4];
        gl_.TexSubImage2D(GL_TEXTURE_2D, 0, x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, first);
        gl_.PixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    }
}

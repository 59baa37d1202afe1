// gxtkSurface: premultiplied pixel copy and the texture made from it on
// demand, once per GL context generation.
#include "graphics/GlApi.h"
#include "graphics/GlResources.h"
#include "graphics/gxtkGraphics.h"

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

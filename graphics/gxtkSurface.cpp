// gxtkSurface: premultiplied pixel copy and the texture made from it on
// demand, once per GL context generation.
#include "graphics/GlApi.h"
#include "graphics/gxtkGraphics.h"

int& ContextGeneration() {
    static int generation = 0;
    return generation;
}

namespace {

int NextPowerOfTwo(int value) {
    int result = 1;
    while (result < value && result < (1 << 30)) result <<= 1;
    return result;
}

// Errors left over from earlier calls must not be taken for a refused allocation.
void DrainGlErrors(GlApi& gl) {
    for (int i = 0; i < 16 && gl.GetError() != GL_NO_ERROR; ++i) {
    }
}

}  // namespace

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
    gl_.GenTextures(1, &texture);
    gl_.BindTexture(GL_TEXTURE_2D, texture);
    gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

    int textureWidth = width, textureHeight = height;
    const GLint internalFormat = static_cast<GLint>(format);
    DrainGlErrors(gl_);
    gl_.TexImage2D(GL_TEXTURE_2D, 0, internalFormat, textureWidth, textureHeight, 0, format, GL_UNSIGNED_BYTE, nullptr);
    if (gl_.GetError() != GL_NO_ERROR) {
        textureWidth = NextPowerOfTwo(width);
        textureHeight = NextPowerOfTwo(height);
        gl_.TexImage2D(GL_TEXTURE_2D, 0, internalFormat, textureWidth, textureHeight, 0, format, GL_UNSIGNED_BYTE,
                       nullptr);
    }
    uScale = 1.0f / static_cast<float>(textureWidth);
    vScale = 1.0f / static_cast<float>(textureHeight);

    if (!pixels.empty()) {
        gl_.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
        gl_.TexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, format, GL_UNSIGNED_BYTE, pixels.data());
    }
}

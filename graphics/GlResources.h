// What every owner of GL objects shares: the context generation the objects
// belong to, and the one way textures are made (nearest pixels, clamped
// edges, a power-of-two retry for a GL that refuses the size). Used by the
// surfaces and by the frame presenter; relies only on GlApi.
#pragma once

#include "graphics/GlApi.h"

// Incremented by the host each time it creates a window with a new GL context;
// 0 until the first context exists (textures are then not made).
int& ContextGeneration();

namespace graphics {

int NextPowerOfTwo(int value);

// The storage a texture got: the size asked for, or the power-of-two size
// after the GL refused that one. accepted: false when the retry was refused too.
struct TextureStorage {
    int width = 0, height = 0;
    bool accepted = false;
};

// Generates *texture, leaves it bound with nearest filtering and clamped
// edges, and gives it undefined width x height storage of the given formats.
TextureStorage MakeTexture(GlApi& gl, GLuint* texture, int width, int height, GLint internalFormat, GLenum format);

}  // namespace graphics

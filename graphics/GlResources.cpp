// The context generation counter and the shared texture set-up.
#include "graphics/GlResources.h"

int& ContextGeneration() {
    static int generation = 0;
    return generation;
}

namespace graphics {

int NextPowerOfTwo(int value) {
    int result = 1;
    while (result < value && result < (1 << 30)) result <<= 1;
    return result;
}

TextureStorage MakeTexture(GlApi& gl, GLuint* texture, int width, int height, GLint internalFormat, GLenum format) {
    gl.GenTextures(1, texture);
    gl.BindTexture(GL_TEXTURE_2D, *texture);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    // Errors left over from earlier calls must not be taken for a refused size.
    for (int i = 0; i < 16 && gl.GetError() != GL_NO_ERROR; ++i) {
    }
    TextureStorage storage{width, height, true};
    gl.TexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, format, GL_UNSIGNED_BYTE, nullptr);
    if (gl.GetError() == GL_NO_ERROR) return storage;
    storage.width = NextPowerOfTwo(width);
    storage.height = NextPowerOfTwo(height);
    gl.TexImage2D(GL_TEXTURE_2D, 0, internalFormat, storage.width, storage.height, 0, format, GL_UNSIGNED_BYTE,
                  nullptr);
    storage.accepted = gl.GetError() == GL_NO_ERROR;
    return storage;
}

}  // namespace graphics

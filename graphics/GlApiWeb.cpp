// RealGlApi for the page: the OpenGL 1.x calls go to emscripten's emulation
// over WebGL 1, which refuses two things the driver asks for. GL_BGRA is not
// a WebGL format, so BGRA uploads are swizzled to RGBA and BGRA reads are
// read as RGBA and swizzled back; GL_UNPACK_ROW_LENGTH does not exist, so a
// sub-rectangle upload from a wider image is repacked row by row here.
// WebGL 1 has framebuffer objects but no blit, and no partial present, so
// the driver keeps its copy-frame path.
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "graphics/GlApi.h"

#ifndef GL_UNPACK_ROW_LENGTH
#define GL_UNPACK_ROW_LENGTH 0x0CF2
#endif

namespace {

int BytesPerPixel(GLenum format) {
    switch (format) {
        case GL_RGBA:
        case GL_BGRA:
            return 4;
        case GL_RGB:
            return 3;
        case GL_LUMINANCE_ALPHA:
            return 2;
        default:
            return 1;
    }
}

// Red and blue change places in each 4-byte pixel.
void SwapRedBlue(unsigned char* pixels, size_t count) {
    for (size_t i = 0; i < count; ++i) std::swap(pixels[i * 4], pixels[i * 4 + 2]);
}

class WebGlApi final : public GlApi {
public:
    void Viewport(GLint x, GLint y, GLsizei width, GLsizei height) override { glViewport(x, y, width, height); }
    void MatrixMode(GLenum mode) override { glMatrixMode(mode); }
    void LoadIdentity() override { glLoadIdentity(); }
    void Ortho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar) override {
        glOrtho(left, right, bottom, top, zNear, zFar);
    }

    void EnableClientState(GLenum array) override { glEnableClientState(array); }
    void VertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) override {
        glVertexPointer(size, type, stride, pointer);
    }
    void TexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) override {
        glTexCoordPointer(size, type, stride, pointer);
    }
    void ColorPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) override {
        glColorPointer(size, type, stride, pointer);
    }

    void Enable(GLenum capability) override { glEnable(capability); }
    void Disable(GLenum capability) override { glDisable(capability); }
    void BlendFunc(GLenum source, GLenum destination) override { glBlendFunc(source, destination); }
    void Scissor(GLint x, GLint y, GLsizei width, GLsizei height) override { glScissor(x, y, width, height); }
    void ClearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) override {
        glClearColor(red, green, blue, alpha);
    }
    void Clear(GLbitfield mask) override { glClear(mask); }

    void DrawArrays(GLenum mode, GLint first, GLsizei count) override { glDrawArrays(mode, first, count); }
    void DrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) override {
        glDrawElements(mode, count, type, indices);
    }

    void GenTextures(GLsizei count, GLuint* textures) override { glGenTextures(count, textures); }
    void DeleteTextures(GLsizei count, const GLuint* textures) override { glDeleteTextures(count, textures); }
    void BindTexture(GLenum target, GLuint texture) override { glBindTexture(target, texture); }
    void TexParameteri(GLenum target, GLenum name, GLint value) override { glTexParameteri(target, name, value); }
    void TexEnvi(GLenum target, GLenum name, GLint value) override { glTexEnvi(target, name, value); }

    // WebGL wants the internal format to equal the pixel format.
    void TexImage2D(GLenum target, GLint level, GLint /*internalFormat*/, GLsizei width, GLsizei height, GLint border,
                    GLenum format, GLenum type, const void* pixels) override {
        if (format == GL_BGRA) {
            format = GL_RGBA;
            if (pixels) pixels = Swizzled(pixels, static_cast<size_t>(width) * static_cast<size_t>(height));
        }
        glTexImage2D(target, level, static_cast<GLint>(format), width, height, border, format, type, pixels);
    }
    void TexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                       GLenum type, const void* pixels) override {
        const size_t rowBytes = static_cast<size_t>(width) * static_cast<size_t>(BytesPerPixel(format));
        if (pixels && rowLength_ > 0 && rowLength_ != width && height > 0) {
            const size_t strideBytes = static_cast<size_t>(rowLength_) * static_cast<size_t>(BytesPerPixel(format));
            repacked_.resize(rowBytes * static_cast<size_t>(height));
            const auto* source = static_cast<const unsigned char*>(pixels);
            for (GLsizei row = 0; row < height; ++row)
                std::memcpy(&repacked_[static_cast<size_t>(row) * rowBytes],
                            source + static_cast<size_t>(row) * strideBytes, rowBytes);
            pixels = repacked_.data();
        }
        if (format == GL_BGRA) {
            format = GL_RGBA;
            if (pixels) pixels = Swizzled(pixels, static_cast<size_t>(width) * static_cast<size_t>(height));
        }
        glTexSubImage2D(target, level, x, y, width, height, format, type, pixels);
    }
    void CopyTexSubImage2D(GLenum target, GLint level, GLint textureX, GLint textureY, GLint x, GLint y, GLsizei width,
                           GLsizei height) override {
        glCopyTexSubImage2D(target, level, textureX, textureY, x, y, width, height);
    }
    void PixelStorei(GLenum name, GLint value) override {
        if (name == GL_UNPACK_ROW_LENGTH) {
            rowLength_ = value;
            return;
        }
        glPixelStorei(name, value);
    }
    GLenum GetError() override { return glGetError(); }
    void ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                    void* pixels) override {
        if (format != GL_BGRA) {
            glReadPixels(x, y, width, height, format, type, pixels);
            return;
        }
        glReadPixels(x, y, width, height, GL_RGBA, type, pixels);
        SwapRedBlue(static_cast<unsigned char*>(pixels), static_cast<size_t>(width) * static_cast<size_t>(height));
    }

    bool LoadFramebufferObjects() override { return false; }
    void GenFramebuffers(GLsizei, GLuint*) override {}
    void DeleteFramebuffers(GLsizei, const GLuint*) override {}
    void BindFramebuffer(GLenum, GLuint) override {}
    void FramebufferTexture2D(GLenum, GLenum, GLenum, GLuint, GLint) override {}
    GLenum CheckFramebufferStatus(GLenum) override { return 0; }
    void BlitFramebuffer(GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLbitfield, GLenum) override {}

private:
    const void* Swizzled(const void* pixels, size_t count) {
        const auto* bytes = static_cast<const unsigned char*>(pixels);
        swizzled_.assign(bytes, bytes + count * 4);
        SwapRedBlue(swizzled_.data(), count);
        return swizzled_.data();
    }

    GLint rowLength_ = 0;
    std::vector<unsigned char> repacked_;
    std::vector<unsigned char> swizzled_;
};

}  // namespace

GlApi& RealGlApi() {
    static GlApi* api = new WebGlApi();
    return *api;
}

// RealGlApi for the page: the OpenGL 1.x calls go to emscripten's emulation
// over WebGL 1, which refuses two things the driver asks for. GL_BGRA is not
// a WebGL format, so BGRA uploads are swizzled to RGBA and BGRA reads are
// read as RGBA and swizzled back; GL_UNPACK_ROW_LENGTH does not exist, so a
// sub-rectangle upload from a wider image is repacked row by row here.
// WebGL 1 has framebuffer objects but no blit. The page's drawing buffer is
// preserved (linked with GL_TESTING, which asks WebGL for
// preserveDrawingBuffer) and the browser shows whatever is drawn into it, so
// a changed rectangle needs no copy to be seen: the driver's partial present
// is offered with nothing to do, and the tracker draws straight into the
// never-swapped back buffer, as on a desktop with the partial copy. A frame
// that changes nothing then makes no GL call.
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "graphics/OpenGlApi.h"

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

class WebGlApi final : public OpenGlApi {
public:
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
    void PixelStorei(GLenum name, GLint value) override {
        if (name == GL_UNPACK_ROW_LENGTH) {
            rowLength_ = value;
            return;
        }
        glPixelStorei(name, value);
    }
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
    bool LoadCopySubBuffer() override { return true; }
    void CopySubBuffer(GLint /*x*/, GLint /*y*/, GLsizei /*width*/, GLsizei /*height*/) override {}

protected:
    GlEntryPoint LookupEntryPoint(const char* name) override { return glfwGetProcAddress(name); }

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

// RealGlApi: each method calls the OpenGL 1.1 entry point of the same name;
// the framebuffer-object calls go through entry points looked up at run time.
#include "graphics/GlApi.h"

#include <GL/glx.h>

#include <cstdlib>
#include <cstring>

namespace {

// Whole-word search of the extension string (one name can prefix another).
bool HasExtension(const char* extensions, const char* name) {
    if (!extensions) return false;
    const size_t length = std::strlen(name);
    for (const char* at = std::strstr(extensions, name); at; at = std::strstr(at + length, name)) {
        const bool starts = at == extensions || at[-1] == ' ';
        const bool ends = at[length] == ' ' || at[length] == '\0';
        if (starts && ends) return true;
    }
    return false;
}

template <typename Function>
bool Lookup(Function& function, const char* name, const char* suffix) {
    char full[64];
    std::strcpy(full, name);
    std::strcat(full, suffix);
    function = reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(full)));
    return function != nullptr;
}

class OpenGlApi final : public GlApi {
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
    void TexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                    GLenum format, GLenum type, const void* pixels) override {
        glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels);
    }
    void TexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                       GLenum type, const void* pixels) override {
        glTexSubImage2D(target, level, x, y, width, height, format, type, pixels);
    }
    void CopyTexSubImage2D(GLenum target, GLint level, GLint textureX, GLint textureY, GLint x, GLint y, GLsizei width,
                           GLsizei height) override {
        glCopyTexSubImage2D(target, level, textureX, textureY, x, y, width, height);
    }
    void PixelStorei(GLenum name, GLint value) override { glPixelStorei(name, value); }
    GLenum GetError() override { return glGetError(); }
    void ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                    void* pixels) override {
        glReadPixels(x, y, width, height, format, type, pixels);
    }

    bool LoadFramebufferObjects() override {
        const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
        const char* suffix = nullptr;
        if ((version && std::atoi(version) >= 3) || HasExtension(extensions, "GL_ARB_framebuffer_object")) {
            suffix = "";
        } else if (HasExtension(extensions, "GL_EXT_framebuffer_object") &&
                   HasExtension(extensions, "GL_EXT_framebuffer_blit")) {
            suffix = "EXT";
        }
        if (!suffix) return false;
        // The EXT entry points take the same arguments and enum values.
        return Lookup(genFramebuffers_, "glGenFramebuffers", suffix) &&
               Lookup(deleteFramebuffers_, "glDeleteFramebuffers", suffix) &&
               Lookup(bindFramebuffer_, "glBindFramebuffer", suffix) &&
               Lookup(framebufferTexture2D_, "glFramebufferTexture2D", suffix) &&
               Lookup(checkFramebufferStatus_, "glCheckFramebufferStatus", suffix) &&
               Lookup(blitFramebuffer_, "glBlitFramebuffer", suffix);
    }
    void GenFramebuffers(GLsizei count, GLuint* framebuffers) override { genFramebuffers_(count, framebuffers); }
    void DeleteFramebuffers(GLsizei count, const GLuint* framebuffers) override {
        deleteFramebuffers_(count, framebuffers);
    }
    void BindFramebuffer(GLenum target, GLuint framebuffer) override { bindFramebuffer_(target, framebuffer); }
    void FramebufferTexture2D(GLenum target, GLenum attachment, GLenum textureTarget, GLuint texture,
                              GLint level) override {
        framebufferTexture2D_(target, attachment, textureTarget, texture, level);
    }
    GLenum CheckFramebufferStatus(GLenum target) override { return checkFramebufferStatus_(target); }
    void BlitFramebuffer(GLint sourceX0, GLint sourceY0, GLint sourceX1, GLint sourceY1, GLint x0, GLint y0, GLint x1,
                         GLint y1, GLbitfield mask, GLenum filter) override {
        blitFramebuffer_(sourceX0, sourceY0, sourceX1, sourceY1, x0, y0, x1, y1, mask, filter);
    }

    bool LoadCopySubBuffer() override {
        copySubBuffer_ = nullptr;
        Display* display = glXGetCurrentDisplay();
        if (!display || !glXGetCurrentDrawable()) return false;
        if (!HasExtension(glXQueryExtensionsString(display, DefaultScreen(display)), "GLX_MESA_copy_sub_buffer"))
            return false;
        copySubBuffer_ = reinterpret_cast<CopySubBufferFunction>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXCopySubBufferMESA")));
        return copySubBuffer_ != nullptr;
    }
    void CopySubBuffer(GLint x, GLint y, GLsizei width, GLsizei height) override {
        copySubBuffer_(glXGetCurrentDisplay(), glXGetCurrentDrawable(), x, y, width, height);
    }

private:
    using CopySubBufferFunction = void (*)(Display*, GLXDrawable, int, int, int, int);
    CopySubBufferFunction copySubBuffer_ = nullptr;
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers_ = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers_ = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer_ = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DPROC framebufferTexture2D_ = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus_ = nullptr;
    PFNGLBLITFRAMEBUFFERPROC blitFramebuffer_ = nullptr;
};

}  // namespace

GlApi& RealGlApi() {
    static GlApi* api = new OpenGlApi();
    return *api;
}

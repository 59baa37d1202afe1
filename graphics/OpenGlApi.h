// OpenGlApi: the GlApi that calls OpenGL. Each method calls the OpenGL 1.1
// entry point of the same name; the framebuffer-object calls go through entry
// points that the platform looks up at run time (LookupEntryPoint). A
// platform's file derives from it and defines RealGlApi (GLX on the desktop).
#pragma once

#include "graphics/GlApi.h"

// A GL entry point as the platform's lookup returns it.
using GlEntryPoint = void (*)();

// Whole-word search of an extension string (one name can prefix another);
// false for a null string.
bool HasGlExtension(const char* extensions, const char* name);

class OpenGlApi : public GlApi {
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

    // Asks the GL's version and extension strings, then looks the entry
    // points up through the platform.
    bool LoadFramebufferObjects() override;
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

protected:
    // The address of an entry point of the current context, or null.
    virtual GlEntryPoint LookupEntryPoint(const char* name) = 0;

private:
    template <typename Function>
    bool Lookup(Function& function, const char* name, const char* suffix);

    PFNGLGENFRAMEBUFFERSPROC genFramebuffers_ = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers_ = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer_ = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DPROC framebufferTexture2D_ = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus_ = nullptr;
    PFNGLBLITFRAMEBUFFERPROC blitFramebuffer_ = nullptr;
};

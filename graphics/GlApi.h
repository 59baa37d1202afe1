// GlApi: the thin seam between the graphics driver and OpenGL. Every GL call
// the driver makes goes through one virtual method here, so tests can count
// and inspect draw calls with no context. RealGlApi() forwards to the GL.
// Framebuffer objects are optional: LoadFramebufferObjects says whether the
// current context has them, and only then may their methods be called.
#pragma once

#include <GL/gl.h>

#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif
#ifndef GL_BGRA
#define GL_BGRA 0x80E1
#endif

class GlApi {
public:
    virtual ~GlApi() = default;

    virtual void Viewport(GLint x, GLint y, GLsizei width, GLsizei height) = 0;
    virtual void MatrixMode(GLenum mode) = 0;
    virtual void LoadIdentity() = 0;
    virtual void Ortho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar) = 0;

    virtual void EnableClientState(GLenum array) = 0;
    virtual void VertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) = 0;
    virtual void TexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) = 0;
    virtual void ColorPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) = 0;

    virtual void Enable(GLenum capability) = 0;
    virtual void Disable(GLenum capability) = 0;
    virtual void BlendFunc(GLenum source, GLenum destination) = 0;
    virtual void Scissor(GLint x, GLint y, GLsizei width, GLsizei height) = 0;
    virtual void ClearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) = 0;
    virtual void Clear(GLbitfield mask) = 0;

    virtual void DrawArrays(GLenum mode, GLint first, GLsizei count) = 0;
    virtual void DrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) = 0;

    virtual void GenTextures(GLsizei count, GLuint* textures) = 0;
    virtual void DeleteTextures(GLsizei count, const GLuint* textures) = 0;
    virtual void BindTexture(GLenum target, GLuint texture) = 0;
    virtual void TexParameteri(GLenum target, GLenum name, GLint value) = 0;
    virtual void TexEnvi(GLenum target, GLenum name, GLint value) = 0;
    virtual void TexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                            GLint border, GLenum format, GLenum type, const void* pixels) = 0;
    virtual void TexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width, GLsizei height,
                               GLenum format, GLenum type, const void* pixels) = 0;
    virtual void CopyTexSubImage2D(GLenum target, GLint level, GLint textureX, GLint textureY, GLint x, GLint y,
                                   GLsizei width, GLsizei height) = 0;
    virtual void PixelStorei(GLenum name, GLint value) = 0;
    virtual GLenum GetError() = 0;
    virtual void ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                            void* pixels) = 0;

    // True when the current context can render into a texture through a
    // framebuffer object and blit it (GL 3.0, ARB_framebuffer_object, or the
    // EXT object and blit pair); call again after a new context is made.
    virtual bool LoadFramebufferObjects() = 0;
    virtual void GenFramebuffers(GLsizei count, GLuint* framebuffers) = 0;
    virtual void DeleteFramebuffers(GLsizei count, const GLuint* framebuffers) = 0;
    virtual void BindFramebuffer(GLenum target, GLuint framebuffer) = 0;
    virtual void FramebufferTexture2D(GLenum target, GLenum attachment, GLenum textureTarget, GLuint texture,
                                      GLint level) = 0;
    virtual GLenum CheckFramebufferStatus(GLenum target) = 0;
    virtual void BlitFramebuffer(GLint sourceX0, GLint sourceY0, GLint sourceX1, GLint sourceY1, GLint x0, GLint y0,
                                 GLint x1, GLint y1, GLbitfield mask, GLenum filter) = 0;

    // True when the current context's window can copy a rectangle of its back
    // buffer to the front (the platform's; glXCopySubBufferMESA on the
    // desktop); call again after a new
    // context is made. A GL without it never gets CopySubBuffer calls.
    virtual bool LoadCopySubBuffer() { return false; }
    // x, y: lower-left corner in window pixels, GL's orientation.
    virtual void CopySubBuffer(GLint /*x*/, GLint /*y*/, GLsizei /*width*/, GLsizei /*height*/) {}
};

// The process-wide forwarder to the platform's OpenGL (an OpenGlApi, defined
// in the platform's file: graphics/linux/GlxGlApi.cpp on the desktop); never
// destroyed, so surfaces released at exit can still reach it.
GlApi& RealGlApi();

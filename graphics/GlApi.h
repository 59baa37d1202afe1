// GlApi: the thin seam between the graphics driver and OpenGL. Every GL call
// the driver makes goes through one virtual method here, so tests can count
// and inspect draw calls with no context. RealGlApi() forwards to libGL.
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
};

// The process-wide forwarder to libGL; never destroyed, so surfaces released
// at exit can still reach it.
GlApi& RealGlApi();

// CountingGl: a GlApi for benchmarks that draws nothing and only counts draw
// calls, blits, texture copies and binds, so the driver's own work can be timed.
#pragma once

#include "graphics/GlApi.h"

class CountingGl final : public GlApi {
public:
    int drawCalls = 0;
    int blits = 0;
    int textureCopies = 0;
    int textureBinds = 0;
    bool framebufferObjects = true;  // what LoadFramebufferObjects answers

    void Reset() { drawCalls = blits = textureCopies = textureBinds = 0; }
    void Viewport(GLint, GLint, GLsizei, GLsizei) override {}
    void MatrixMode(GLenum) override {}
    void LoadIdentity() override {}
    void Ortho(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble) override {}
    void EnableClientState(GLenum) override {}
    void VertexPointer(GLint, GLenum, GLsizei, const void*) override {}
    void TexCoordPointer(GLint, GLenum, GLsizei, const void*) override {}
    void ColorPointer(GLint, GLenum, GLsizei, const void*) override {}
    void Enable(GLenum) override {}
    void Disable(GLenum) override {}
    void BlendFunc(GLenum, GLenum) override {}
    void Scissor(GLint, GLint, GLsizei, GLsizei) override {}
    void ClearColor(GLfloat, GLfloat, GLfloat, GLfloat) override {}
    void Clear(GLbitfield) override {}
    void DrawArrays(GLenum, GLint, GLsizei) override { ++drawCalls; }
    void DrawElements(GLenum, GLsizei, GLenum, const void*) override { ++drawCalls; }
    void GenTextures(GLsizei count, GLuint* textures) override {
        for (GLsizei i = 0; i < count; ++i) textures[i] = ++next_;
    }
    void DeleteTextures(GLsizei, const GLuint*) override {}
    void BindTexture(GLenum, GLuint) override { ++textureBinds; }
    void TexParameteri(GLenum, GLenum, GLint) override {}
    void TexEnvi(GLenum, GLenum, GLint) override {}
    void TexImage2D(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*) override {}
    void TexSubImage2D(GLenum, GLint, GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, const void*) override {}
    void CopyTexSubImage2D(GLenum, GLint, GLint, GLint, GLint, GLint, GLsizei, GLsizei) override { ++textureCopies; }
    void PixelStorei(GLenum, GLint) override {}
    GLenum GetError() override { return GL_NO_ERROR; }
    void ReadPixels(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*) override {}
    bool LoadFramebufferObjects() override { return framebufferObjects; }
    void GenFramebuffers(GLsizei count, GLuint* framebuffers) override {
        for (GLsizei i = 0; i < count; ++i) framebuffers[i] = ++next_;
    }
    void DeleteFramebuffers(GLsizei, const GLuint*) override {}
    void BindFramebuffer(GLenum, GLuint) override {}
    void FramebufferTexture2D(GLenum, GLenum, GLenum, GLuint, GLint) override {}
    GLenum CheckFramebufferStatus(GLenum) override { return GL_FRAMEBUFFER_COMPLETE; }
    void BlitFramebuffer(GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLbitfield, GLenum) override {
        ++blits;
    }

private:
    GLuint next_ = 0;
};

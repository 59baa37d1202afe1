// FakeGl: a GlApi with no context that records what the driver asks of GL:
// every draw call with a copy of the vertices it reads, capability switches,
// blend, scissor, clears and texture traffic. It can refuse texture sizes that
// are not powers of two and serve fixed pixels to ReadPixels.
#pragma once

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <vector>

#include "graphics/GlApi.h"
#include "graphics/gxtkGraphics.h"

struct FakeDrawCall {
    GLenum mode = 0;
    GLint first = 0;
    GLsizei count = 0;  // vertices for DrawArrays, indices for DrawElements
    bool indexed = false;
    bool textured = false;             // GL_TEXTURE_2D enabled at the time of the call
    bool blended = false;              // GL_BLEND enabled at the time of the call
    GLuint texture = 0;                // texture bound at the time of the call
    std::vector<gxtkVertex> vertices;  // the vertices the call reads, in array order
};

struct FakeTextureImage {
    GLuint texture;
    GLsizei width, height;
    GLenum format;
    bool accepted;
};

struct FakeSubImage {
    GLuint texture;
    GLint x, y;
    GLsizei width, height;
    GLint rowLength;
    std::vector<unsigned char> firstRow;  // the first row's bytes as uploaded
};

class FakeGl : public GlApi {
public:
    std::vector<FakeDrawCall> draws;
    std::map<GLenum, bool> enabled;
    std::vector<GLenum> switches;  // every Enable (+cap) / Disable (cap | 0x80000000), in order
    GLenum blendSource = 0, blendDestination = 0;
    int blendFuncCalls = 0;
    GLint scissor[4] = {0, 0, 0, 0};
    int scissorCalls = 0;
    GLfloat clearColour[4] = {0, 0, 0, 0};
    std::vector<std::vector<GLfloat>> clears;  // the clear colour of every Clear
    GLint viewport[4] = {0, 0, 0, 0};
    GLdouble ortho[6] = {0, 0, 0, 0, 0, 0};
    GLenum textureEnvMode = GL_MODULATE;
    std::vector<GLenum> textureEnvModesAtDraw;

    bool refuseNonPowerOfTwo = false;
    GLenum pendingError = GL_NO_ERROR;
    GLuint nextTexture = 1;
    GLuint boundTexture = 0;
    int genTextureCalls = 0;
    std::vector<GLuint> deletedTextures;
    std::vector<FakeTextureImage> textureImages;
    std::vector<FakeSubImage> subImages;
    std::map<GLuint, std::map<GLenum, GLint>> textureParameters;
    GLint unpackAlignment = 4, unpackRowLength = 0;
    struct Copy {
        GLuint texture;
        GLsizei width, height;
    };
    std::vector<Copy> copies;

    // ReadPixels: the BGRA word for GL window pixel (x, y), y counted from the bottom.
    std::function<uint32_t(int x, int y)> framebufferPixel = [](int, int) { return 0u; };
    struct Read {
        GLint x, y;
        GLsizei width, height;
    };
    std::vector<Read> reads;

    int DrawCount() const { return static_cast<int>(draws.size()); }

    void Viewport(GLint x, GLint y, GLsizei width, GLsizei height) override {
        viewport[0] = x, viewport[1] = y, viewport[2] = width, viewport[3] = height;
    }
    void MatrixMode(GLenum) override {}
    void LoadIdentity() override {}
    void Ortho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar) override {
        ortho[0] = left, ortho[1] = right, ortho[2] = bottom, ortho[3] = top, ortho[4] = zNear, ortho[5] = zFar;
    }
    void EnableClientState(GLenum array) override { enabled[array] = true; }
    void VertexPointer(GLint, GLenum, GLsizei stride, const void* pointer) override {
        vertexStride_ = stride;
        vertexBase_ = static_cast<const unsigned char*>(pointer);
    }
    void TexCoordPointer(GLint, GLenum, GLsizei, const void*) override {}
    void ColorPointer(GLint, GLenum, GLsizei, const void*) override {}

    void Enable(GLenum capability) override {
        enabled[capability] = true;
        switches.push_back(capability);
    }
    void Disable(GLenum capability) override {
        enabled[capability] = false;
        switches.push_back(capability | 0x80000000u);
    }
    bool IsEnabled(GLenum capability) const {
        auto found = enabled.find(capability);
        return found != enabled.end() && found->second;
    }
    void BlendFunc(GLenum source, GLenum destination) override {
        blendSource = source, blendDestination = destination;
        ++blendFuncCalls;
    }
    void Scissor(GLint x, GLint y, GLsizei width, GLsizei height) override {
        scissor[0] = x, scissor[1] = y, scissor[2] = width, scissor[3] = height;
        ++scissorCalls;
    }
    void ClearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) override {
        clearColour[0] = red, clearColour[1] = green, clearColour[2] = blue, clearColour[3] = alpha;
    }
    void Clear(GLbitfield) override {
        clears.push_back({clearColour[0], clearColour[1], clearColour[2], clearColour[3]});
    }

    void DrawArrays(GLenum mode, GLint first, GLsizei count) override {
        FakeDrawCall call = NewCall(mode, first, count, false);
        for (GLsizei i = 0; i < count; ++i) call.vertices.push_back(VertexAt(first + i));
        draws.push_back(call);
    }
    void DrawElements(GLenum mode, GLsizei count, GLenum, const void* indices) override {
        FakeDrawCall call = NewCall(mode, 0, count, true);
        const uint16_t* index = static_cast<const uint16_t*>(indices);
        int highest = -1;
        for (GLsizei i = 0; i < count; ++i) highest = std::max(highest, static_cast<int>(index[i]));
        for (int i = 0; i <= highest; ++i) call.vertices.push_back(VertexAt(i));
        draws.push_back(call);
    }

    void GenTextures(GLsizei count, GLuint* textures) override {
        ++genTextureCalls;
        for (GLsizei i = 0; i < count; ++i) textures[i] = nextTexture++;
    }
    void DeleteTextures(GLsizei count, const GLuint* textures) override {
        for (GLsizei i = 0; i < count; ++i) deletedTextures.push_back(textures[i]);
    }
    void BindTexture(GLenum, GLuint texture) override { boundTexture = texture; }
    void TexParameteri(GLenum, GLenum name, GLint value) override { textureParameters[boundTexture][name] = value; }
    void TexEnvi(GLenum, GLenum name, GLint value) override {
        if (name == GL_TEXTURE_ENV_MODE) textureEnvMode = static_cast<GLenum>(value);
    }
    void TexImage2D(GLenum, GLint, GLint, GLsizei width, GLsizei height, GLint, GLenum format, GLenum,
                    const void*) override {
        const bool powers = (width & (width - 1)) == 0 && (height & (height - 1)) == 0;
        const bool accepted = !refuseNonPowerOfTwo || powers;
        if (!accepted) pendingError = GL_INVALID_VALUE;
        textureImages.push_back({boundTexture, width, height, format, accepted});
    }
    void TexSubImage2D(GLenum, GLint, GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum,
                       const void* pixels) override {
        const int bytes = format == GL_RGBA ? 4 : format == GL_RGB ? 3 : format == GL_LUMINANCE_ALPHA ? 2 : 1;
        const unsigned char* first = static_cast<const unsigned char*>(pixels);
        subImages.push_back({boundTexture, x, y, width, height, unpackRowLength,
                             std::vector<unsigned char>(first, first + width * bytes)});
    }
    void CopyTexSubImage2D(GLenum, GLint, GLint, GLint, GLint, GLint, GLsizei width, GLsizei height) override {
        copies.push_back({boundTexture, width, height});
    }
    void PixelStorei(GLenum name, GLint value) override {
        if (name == GL_UNPACK_ALIGNMENT) unpackAlignment = value;
        if (name == GL_UNPACK_ROW_LENGTH) unpackRowLength = value;
    }
    GLenum GetError() override {
        const GLenum error = pendingError;
        pendingError = GL_NO_ERROR;
        return error;
    }
    void ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum, GLenum, void* pixels) override {
        reads.push_back({x, y, width, height});
        uint32_t* out = static_cast<uint32_t*>(pixels);
        for (GLsizei row = 0; row < height; ++row)
            for (GLsizei column = 0; column < width; ++column)
                out[row * width + column] = framebufferPixel(x + column, y + row);
    }

private:
    FakeDrawCall NewCall(GLenum mode, GLint first, GLsizei count, bool indexed) {
        FakeDrawCall call;
        call.mode = mode;
        call.first = first;
        call.count = count;
        call.indexed = indexed;
        call.textured = IsEnabled(GL_TEXTURE_2D);
        call.blended = IsEnabled(GL_BLEND);
        call.texture = boundTexture;
        textureEnvModesAtDraw.push_back(textureEnvMode);
        return call;
    }
    gxtkVertex VertexAt(int index) const {
        gxtkVertex vertex;
        std::memcpy(&vertex, vertexBase_ + static_cast<size_t>(index) * static_cast<size_t>(vertexStride_),
                    sizeof vertex);
        return vertex;
    }

    const unsigned char* vertexBase_ = nullptr;
    GLsizei vertexStride_ = 0;
};

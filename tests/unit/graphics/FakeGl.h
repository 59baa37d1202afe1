// FakeGl: a GlApi with no context that records what the driver asks of GL:
// every draw call with a copy of the vertices it reads, capability switches,
// blend, scissor, clears and texture traffic. It can refuse texture sizes that
// are not powers of two and serve fixed pixels to ReadPixels. It may offer
// framebuffer objects or not.
//
// It also keeps a picture of what every framebuffer (0 = the window's back
// buffer) and texture shows: the list of layers painted since it was last
// covered whole. A draw adds each run of one vertex colour ("10,20,30"); a clear
// and an opaque full-window textured draw, a whole copy and a whole blit
// replace the list. Swap() makes the back buffer "undefined", as after a real
// swap on drivers that keep nothing.
#pragma once

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "graphics/GlApi.h"
#include "graphics/Vertex.h"

struct FakeDrawCall {
    GLenum mode = 0;
    GLint first = 0;
    GLsizei count = 0;  // vertices for DrawArrays, indices for DrawElements
    bool indexed = false;
    bool textured = false;             // GL_TEXTURE_2D enabled at the time of the call
    bool blended = false;              // GL_BLEND enabled at the time of the call
    GLuint texture = 0;                // texture bound at the time of the call
    GLuint framebuffer = 0;            // draw framebuffer at the time of the call
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
    std::vector<GLuint> clearTargets;          // the draw framebuffer of every Clear
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
        GLuint framebuffer;
    };
    std::vector<Read> reads;

    // Framebuffer objects.
    bool framebufferObjects = true;    // what LoadFramebufferObjects answers
    bool completeFramebuffers = true;  // what CheckFramebufferStatus answers
    int loadFramebufferCalls = 0;
    GLuint nextFramebuffer = 1;
    GLuint drawFramebuffer = 0, readFramebuffer = 0;
    int genFramebufferCalls = 0;
    std::vector<GLuint> deletedFramebuffers;
    std::map<GLuint, GLuint> attachments;  // framebuffer -> colour texture
    struct Blit {
        GLuint read, draw;
        GLint source[4], destination[4];
        GLbitfield mask;
        GLenum filter;
        bool scissored;
    };
    std::vector<Blit> blits;

    std::map<GLuint, std::vector<std::string>> picture;         // by framebuffer
    std::map<GLuint, std::vector<std::string>> texturePicture;  // by texture
    void Swap() { picture[0] = {"undefined"}; }

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
        clearTargets.push_back(drawFramebuffer);
        const std::string layer = "clear " + Label(clearColour[0] * 255, clearColour[1] * 255, clearColour[2] * 255);
        if (IsEnabled(GL_SCISSOR_TEST)) {
            picture[drawFramebuffer].push_back("clipped " + layer);
        } else {
            picture[drawFramebuffer] = {layer};
        }
    }

    void DrawArrays(GLenum mode, GLint first, GLsizei count) override {
        FakeDrawCall call = NewCall(mode, first, count, false);
        for (GLsizei i = 0; i < count; ++i) call.vertices.push_back(VertexAt(first + i));
        Paint(call);
        draws.push_back(call);
    }
    void DrawElements(GLenum mode, GLsizei count, GLenum, const void* indices) override {
        FakeDrawCall call = NewCall(mode, 0, count, true);
        const uint16_t* index = static_cast<const uint16_t*>(indices);
        int highest = -1;
        for (GLsizei i = 0; i < count; ++i) highest = std::max(highest, static_cast<int>(index[i]));
        for (int i = 0; i <= highest; ++i) call.vertices.push_back(VertexAt(i));
        Paint(call);
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
    void CopyTexSubImage2D(GLenum, GLint, GLint textureX, GLint textureY, GLint x, GLint y, GLsizei width,
                           GLsizei height) override {
        copies.push_back({boundTexture, width, height});
        const bool whole =
            textureX == 0 && textureY == 0 && x == 0 && y == 0 && width == viewport[2] && height == viewport[3];
        if (whole) {
            texturePicture[boundTexture] = picture[readFramebuffer];
        } else {
            texturePicture[boundTexture].push_back("part of a copy");
        }
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
        reads.push_back({x, y, width, height, readFramebuffer});
        uint32_t* out = static_cast<uint32_t*>(pixels);
        for (GLsizei row = 0; row < height; ++row)
            for (GLsizei column = 0; column < width; ++column)
                out[row * width + column] = framebufferPixel(x + column, y + row);
    }

    bool LoadFramebufferObjects() override {
        ++loadFramebufferCalls;
        return framebufferObjects;
    }
    void GenFramebuffers(GLsizei count, GLuint* framebuffers) override {
        ++genFramebufferCalls;
        for (GLsizei i = 0; i < count; ++i) framebuffers[i] = nextFramebuffer++;
    }
    void DeleteFramebuffers(GLsizei count, const GLuint* framebuffers) override {
        for (GLsizei i = 0; i < count; ++i) deletedFramebuffers.push_back(framebuffers[i]);
    }
    void BindFramebuffer(GLenum target, GLuint framebuffer) override {
        if (target == GL_FRAMEBUFFER || target == GL_DRAW_FRAMEBUFFER) drawFramebuffer = framebuffer;
        if (target == GL_FRAMEBUFFER || target == GL_READ_FRAMEBUFFER) readFramebuffer = framebuffer;
    }
    void FramebufferTexture2D(GLenum, GLenum, GLenum, GLuint texture, GLint) override {
        attachments[drawFramebuffer] = texture;
    }
    GLenum CheckFramebufferStatus(GLenum) override {
        return completeFramebuffers ? GL_FRAMEBUFFER_COMPLETE : GL_FRAMEBUFFER_UNSUPPORTED;
    }
    void BlitFramebuffer(GLint sourceX0, GLint sourceY0, GLint sourceX1, GLint sourceY1, GLint x0, GLint y0, GLint x1,
                         GLint y1, GLbitfield mask, GLenum filter) override {
        const bool scissored = IsEnabled(GL_SCISSOR_TEST);
        blits.push_back({readFramebuffer,
                         drawFramebuffer,
                         {sourceX0, sourceY0, sourceX1, sourceY1},
                         {x0, y0, x1, y1},
                         mask,
                         filter,
                         scissored});
        const int w = viewport[2], h = viewport[3];
        const bool wholeSource = std::min(sourceX0, sourceX1) == 0 && std::max(sourceX0, sourceX1) == w &&
                                 std::min(sourceY0, sourceY1) == 0 && std::max(sourceY0, sourceY1) == h;
        const bool wholeDestination =
            std::min(x0, x1) == 0 && std::max(x0, x1) == w && std::min(y0, y1) == 0 && std::max(y0, y1) == h;
        if (wholeSource && wholeDestination && !scissored && (mask & GL_COLOR_BUFFER_BIT)) {
            picture[drawFramebuffer] = picture[readFramebuffer];
        } else {
            picture[drawFramebuffer].push_back("part of a blit");
        }
    }

    // The partial copy to the window (glXCopySubBufferMESA).
    bool copySubBuffer = false;  // what LoadCopySubBuffer answers
    struct SubBufferCopy {
        GLint x, y;
        GLsizei width, height;
    };
    std::vector<SubBufferCopy> subBufferCopies;
    bool LoadCopySubBuffer() override { return copySubBuffer; }
    void CopySubBuffer(GLint x, GLint y, GLsizei width, GLsizei height) override {
        subBufferCopies.push_back({x, y, width, height});
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
        call.framebuffer = drawFramebuffer;
        textureEnvModesAtDraw.push_back(textureEnvMode);
        return call;
    }
    static std::string Label(float red, float green, float blue) {
        return std::to_string(static_cast<int>(red + 0.5f)) + "," + std::to_string(static_cast<int>(green + 0.5f)) +
               "," + std::to_string(static_cast<int>(blue + 0.5f));
    }
    // An opaque textured draw over the whole window shows the texture's picture;
    // anything else adds a layer.
    void Paint(const FakeDrawCall& call) {
        std::vector<std::string>& layers = picture[drawFramebuffer];
        if (call.vertices.empty()) return;
        float left = call.vertices[0].x, right = left, top = call.vertices[0].y, bottom = top;
        for (const gxtkVertex& vertex : call.vertices) {
            left = std::min(left, vertex.x), right = std::max(right, vertex.x);
            top = std::min(top, vertex.y), bottom = std::max(bottom, vertex.y);
        }
        const float width = static_cast<float>(ortho[1]);
        const float height = static_cast<float>(std::max(ortho[2], ortho[3]));
        const bool covers = left <= 0 && top <= 0 && right >= width && bottom >= height;
        if (call.textured && !call.blended && textureEnvMode == GL_REPLACE && covers && !IsEnabled(GL_SCISSOR_TEST)) {
            layers = texturePicture[boundTexture];
            return;
        }
        const unsigned char* last = nullptr;
        for (const gxtkVertex& vertex : call.vertices) {
            const unsigned char* colour = vertex.colour;
            if (last && std::memcmp(last, colour, 3) == 0) continue;
            layers.push_back((call.textured ? "texture " : "") + Label(colour[0], colour[1], colour[2]));
            last = colour;
        }
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

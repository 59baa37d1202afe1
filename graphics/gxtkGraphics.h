// gxtkGraphics: the only code that draws with OpenGL. Primitives collect in one
// client-side vertex batch (1024 vertices of 20 bytes) that goes out in a single
// draw call until the kind of primitive, the texture, the blend or the clip
// changes. gxtkSurface: an image's pixels and its lazily made texture.
// All GL calls pass through GlApi so tests can run the driver without a context.
//
// Kept frames: frames that draw only part of the screen keep the rest on every
// driver, whatever the back buffer holds after a swap. Where the GL has
// framebuffer objects, every frame is drawn into a kept offscreen texture that
// EndFrame blits to the back buffer (one copy a frame). Elsewhere the finished
// back buffer is copied into a texture that the next BeginFrame draws first.
//
// Presenting: a frame shows only what it drew. Every primitive adds its
// bounds to the frame's damage; EndFrame copies just those rectangles to the
// window (glXCopySubBufferMESA, the back buffer is then never swapped), or,
// where that is missing, the whole frame for a swap; a frame that drew nothing
// presents nothing. The window may be an integer multiple of the drawing size
// (window scale): the kept frame keeps the drawing size and is blown up with
// nearest-neighbour pixels on the way to the window.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "graphics/DamageList.h"
#include "runtime/String.h"

class GlApi;

// Incremented by the host each time it creates a window with a new GL context;
// 0 until the first context exists (textures are then not made).
int& ContextGeneration();

class gxtkSurface {
public:
    explicit gxtkSurface(GlApi& gl);
    virtual ~gxtkSurface();
    gxtkSurface(const gxtkSurface&) = delete;
    gxtkSurface& operator=(const gxtkSurface&) = delete;

    virtual void Discard();
    virtual int Width() const { return width; }
    virtual int Height() const { return height; }
    virtual bool Loaded() const { return true; }
    virtual void Bind();

    // Takes decoded pixels and premultiplies them by alpha for their depth.
    void SetPixels(std::vector<unsigned char> decoded, int pixelWidth, int pixelHeight, int bytesPerPixel);

    std::vector<unsigned char> pixels;  // empty: no pixel copy
    int width = 0;
    int height = 0;
    int depth = 0;
    unsigned int format = 0;  // GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB or GL_RGBA
    int textureGeneration = -1;
    unsigned int texture = 0;
    float uScale = 1;
    float vScale = 1;

private:
    GlApi& gl_;
};

// One batched vertex: position, texture coordinate, premultiplied RGBA bytes.
struct gxtkVertex {
    float x, y, u, v;
    unsigned char colour[4];
};
static_assert(sizeof(gxtkVertex) == 20, "the GL arrays use a 20-byte stride");

class gxtkGraphics {
public:
    static constexpr int kMaxVertices = 1024;
    static constexpr int kMaxQuads = kMaxVertices / 4;

    // Reports window width and height (window units) and framebuffer size (pixels).
    using WindowSizeFunction =
        std::function<void(int* width, int* height, int* framebufferWidth, int* framebufferHeight)>;

    // gl: the GL to call; nullptr = the real OpenGL. A given GlApi must outlive
    // the driver and every surface it makes.
    explicit gxtkGraphics(WindowSizeFunction windowSize, GlApi* gl = nullptr);
    virtual ~gxtkGraphics();
    gxtkGraphics(const gxtkGraphics&) = delete;
    gxtkGraphics& operator=(const gxtkGraphics&) = delete;

    virtual int Width() { return width_; }
    virtual int Height() { return height_; }
    virtual int BeginFrame();
    virtual void EndFrame();
    virtual void DiscardResources() {}
    virtual std::shared_ptr<gxtkSurface> LoadSurface(const String& path);
    virtual std::shared_ptr<gxtkSurface> CreateSurface(int width, int height);
    virtual bool LoadSurfaceInto(gxtkSurface& surface, const String& path);
    virtual void ClearScreen(float red, float green, float blue);
    virtual void SetAlpha(float alpha);
    virtual void SetColor(float red, float green, float blue);
    virtual void SetBlend(int mode);
    virtual void SetScissor(int x, int y, int width, int height);
    virtual void SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
    virtual void DrawPoint(float x, float y);
    virtual void DrawRect(float x, float y, float width, float height);
    virtual void DrawLine(float x1, float y1, float x2, float y2);
    virtual void DrawOval(float x, float y, float width, float height);
    // xy: x0, y0, x1, y1, ...
    virtual void DrawPoly(const std::vector<float>& xy);
    // xyuv: x, y, u, v per vertex, u and v in source pixels relative to (sourceX, sourceY).
    virtual void DrawTexturedPoly(const std::vector<float>& xyuv, const std::shared_ptr<gxtkSurface>& surface,
                                  int sourceX, int sourceY);
    virtual void DrawSurface(const std::shared_ptr<gxtkSurface>& surface, float x, float y);
    virtual void DrawSurfaceRect(const std::shared_ptr<gxtkSurface>& surface, float x, float y, int sourceX,
                                 int sourceY, int sourceWidth, int sourceHeight);
    // Each int is 0xAARRGGBB; row r of the block goes to pixels[offset + r * pitch ...].
    virtual void ReadPixels(std::vector<int>& pixels, int x, int y, int width, int height, int offset, int pitch);
    virtual void WritePixels(gxtkSurface& surface, const std::vector<int>& pixels, int x, int y, int width, int height,
                             int offset, int pitch);

    // The open batch, for tests and benchmarks.
    const gxtkVertex* Vertices() const { return vertices_; }
    int VertexCount() const { return vertexCount_; }
    int PrimitiveOrder() const { return primitiveOrder_; }
    const gxtkSurface* BatchSurface() const { return batchSurface_.get(); }
    const unsigned char* ColourWord() const { return colour_; }
    const uint16_t* QuadIndices() const { return quadIndices_; }
    bool Transformed() const { return transformed_; }

    // Kept frames: on by default. Garbage back buffer: fill the back buffer with
    // a loud colour at every BeginFrame before the kept frame is restored (only
    // test programs switch it on), to prove nothing depends on what a swap
    // leaves behind. Copied frames: keep frames by the copy even where
    // framebuffer objects exist, so that path can be checked on any GL.
    void SetKeepFrames(bool keep) { keepFrames_ = keep; }
    void SetGarbageBackBuffer(bool garbage) { garbageBackBuffer_ = garbage; }
    void SetCopiedFrames(bool copied) { copiedFrames_ = copied; }
    static constexpr float kGarbageRed = 255, kGarbageGreen = 0, kGarbageBlue = 255;
    // True between BeginFrame and EndFrame while drawing goes to the kept
    // framebuffer object rather than the back buffer.
    bool DrawingIntoKeptFramebuffer() const { return intoKeptFramebuffer_; }

    // After EndFrame: true when the host must swap buffers to show the frame.
    bool SwapNeeded() const { return swapNeeded_; }
    // The window lost its pixels (exposed, restored, resized): the next
    // EndFrame presents the whole frame.
    void RequestFullPresent() { fullPresentRequested_ = true; }
    // Between BeginFrame and EndFrame: the kept frame starts empty (first
    // frame, new context, new size), so whatever skips unchanged drawing must
    // draw everything this frame.
    bool FrameContentLost() const { return contentLost_; }
    const graphics::DamageList& FrameDamage() const { return damage_; }
    // Partial presents where the window system offers them (on by default);
    // off, every presented frame is copied whole and swapped.
    void SetPartialPresent(bool partial) { partialPresent_ = partial; }
    bool PresentsPartially() const { return copySubBuffer_ && partialPresent_; }
    // Counters for benchmarks: frames presented and window pixels copied.
    long long PresentCount() const { return presentCount_; }
    long long PresentedPixels() const { return presentedPixels_; }

private:
    void Flush();
    gxtkVertex* OpenRoom(int count, int order, const std::shared_ptr<gxtkSurface>& surface);
    void Put(gxtkVertex& vertex, float x, float y, float u, float v) const;
    void UpdateColourWord();
    void ReadWindowSize();
    void CaptureFrame();
    void RestoreFrame();
    bool BindKeptFramebuffer();
    bool KeptFramebufferReady() const;
    bool DirectFramePossible() const;
    void PresentDirectFrame();
    void BindWindowFramebuffer();
    void SetUpFrameState();
    void EnsureFrameSetUp();
    void ApplyBlend();
    void ApplyScissor();
    bool MakeKeptFramebuffer();
    void ReleaseKeptFramebuffer();
    void PresentKeptFramebuffer();
    void AddDamage(const gxtkVertex* vertices, int count);
    int WindowScale() const;

    WindowSizeFunction windowSize_;
    GlApi& gl_;

    int width_ = 0, height_ = 0;
    int framebufferWidth_ = 0, framebufferHeight_ = 0;
    unsigned char colour_[4] = {0, 0, 0, 0};
    float red_ = 0, green_ = 0, blue_ = 0;
    float alpha_ = 0;
    float ix_ = 1, iy_ = 0, jx_ = 0, jy_ = 1, tx_ = 0, ty_ = 0;
    bool transformed_ = false;
    gxtkVertex vertices_[kMaxVertices];
    uint16_t quadIndices_[kMaxQuads * 6];
    int primitiveOrder_ = 0;
    int vertexCount_ = 0;
    std::shared_ptr<gxtkSurface> batchSurface_;

    struct KeptFrame {
        unsigned int texture = 0;
        int generation = -1;        // context the texture belongs to; -1 none
        int width = 0, height = 0;  // framebuffer pixels captured
        int textureWidth = 0, textureHeight = 0;
        bool valid = false;
    };
    KeptFrame kept_;
    // The offscreen target. Its rows run top to bottom (GL y grows downwards
    // while it is bound), so that the blit to the window, which stores rows
    // the other way on many drivers, flips nothing and can be a plain copy.
    struct KeptFramebuffer {
        unsigned int framebuffer = 0;
        unsigned int texture = 0;
        int generation = -1;        // context both belong to; -1 none
        int width = 0, height = 0;  // framebuffer pixels kept
    };
    KeptFramebuffer keptTarget_;
    int framebufferCheckGeneration_ = -1;  // context whose framebuffer support was asked
    bool framebufferObjects_ = false;
    bool intoKeptFramebuffer_ = false;
    bool setUpPending_ = false;  // this frame has not touched the GL yet
    // Drawing goes straight to the never-swapped back buffer this frame.
    bool directFrame_ = false;
    bool lastFrameDirect_ = false;
    int directGeneration_ = -1;  // context the back buffer was cleared in
    int blendMode_ = 0;
    graphics::DamageRect scissor_;  // window units, as last asked for
    bool scissorWhole_ = true;
    bool keepFrames_ = true;
    bool garbageBackBuffer_ = false;
    bool copiedFrames_ = false;

    graphics::DamageList damage_;
    int copySubBufferGeneration_ = -1;  // context whose partial copy support was asked
    bool copySubBuffer_ = false;
    bool partialPresent_ = true;
    bool fullPresentRequested_ = true;
    // After the window's size changes, the GL's back buffer may keep its old
    // size until a swap renews it: the next few frames go out whole by swapping.
    int presentedWidth_ = 0, presentedHeight_ = 0;
    int swappedPresentsLeft_ = 0;
    bool swapNeeded_ = true;
    bool contentLost_ = false;
    long long presentCount_ = 0;
    long long presentedPixels_ = 0;
};

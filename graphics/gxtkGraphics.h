// gxtkGraphics: the only code that draws with OpenGL. Primitives collect in one
// client-side vertex batch (1024 vertices of 20 bytes) that goes out in a single
// draw call until the kind of primitive, the texture, the blend or the clip
// changes. gxtkSurface: an image's pixels and its lazily made texture.
// All GL calls pass through GlApi so tests can run the driver without a context.
//
// The driver draws into the target its FramePresenter hands it for the frame
// and adds every primitive's bounds to the frame's damage; how the frame is
// kept and reaches the window is the presenter's (graphics/FramePresenter.h).
// The drawing never learns the window scale.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "graphics/DamageList.h"
#include "graphics/FramePresenter.h"
#include "graphics/GlResources.h"
#include "graphics/Vertex.h"
#include "runtime/String.h"

class GlApi;

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

    // Presentation belongs to the presenter; the host and the test programs
    // know only the driver, so these pass on to it.
    graphics::FramePresenter& Presenter() { return presenter_; }
    void SetKeepFrames(bool keep) { presenter_.SetKeepFrames(keep); }
    void SetGarbageBackBuffer(bool garbage) { presenter_.SetGarbageBackBuffer(garbage); }
    void SetCopiedFrames(bool copied) { presenter_.SetCopiedFrames(copied); }
    void SetPartialPresent(bool partial) { presenter_.SetPartialPresent(partial); }
    bool DrawingIntoKeptFramebuffer() const { return presenter_.DrawingIntoKeptFramebuffer(); }
    bool SwapNeeded() const { return presenter_.SwapNeeded(); }
    void RequestFullPresent() { presenter_.RequestFullPresent(); }
    bool FrameContentLost() const { return presenter_.FrameContentLost(); }
    const graphics::DamageList& FrameDamage() const { return presenter_.FrameDamage(); }
    bool PresentsPartially() const { return presenter_.PresentsPartially(); }
    long long PresentCount() const { return presenter_.PresentCount(); }
    long long PresentedPixels() const { return presenter_.PresentedPixels(); }

private:
    void Flush();
    gxtkVertex* OpenRoom(int count, int order, const std::shared_ptr<gxtkSurface>& surface);
    void Put(gxtkVertex& vertex, float x, float y, float u, float v) const;
    void UpdateColourWord();
    void ReadWindowSize();
    void SetUpFrameState();
    void EnsureFrameSetUp();
    void ApplyBlend();
    void ApplyScissor();
    void AddDamage(const gxtkVertex* vertices, int count);

    WindowSizeFunction windowSize_;
    GlApi& gl_;
    graphics::FramePresenter presenter_;

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

    bool setUpPending_ = false;  // this frame has not touched the GL yet
    int blendMode_ = 0;
    graphics::DamageRect scissor_;  // window units, as last asked for
    bool scissorWhole_ = true;
};

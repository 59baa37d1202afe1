// gxtkGraphics: frame set-up, the colour word, the vertex batch and its flush,
// the primitives, blend, clip and pixel reads. The frame's target and its
// present are the FramePresenter's; surfaces are made in gxtkSurface.cpp.
//
// Sections: construction and frames | state | batch | primitives | pixels
#include "graphics/gxtkGraphics.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "graphics/GlApi.h"

namespace {

// int() of the premultiplied value, kept inside a byte so wild inputs don't wrap.
unsigned char ColourByte(float value) {
    const int truncated = static_cast<int>(value);
    return static_cast<unsigned char>(std::clamp(truncated, 0, 255));
}

const std::shared_ptr<gxtkSurface> kNoSurface;

}  // namespace

// ---- construction and frames ----

gxtkGraphics::gxtkGraphics(WindowSizeFunction windowSize, GlApi* gl)
    : windowSize_(std::move(windowSize)), gl_(gl ? *gl : RealGlApi()), presenter_(gl_) {
    std::memset(vertices_, 0, sizeof vertices_);
    for (int k = 0; k < kMaxQuads; ++k) {
        uint16_t* quad = &quadIndices_[k * 6];
        const uint16_t first = static_cast<uint16_t>(k * 4);
        quad[0] = first;
        quad[1] = static_cast<uint16_t>(first + 1);
        quad[2] = static_cast<uint16_t>(first + 2);
        quad[3] = first;
        quad[4] = static_cast<uint16_t>(first + 2);
        quad[5] = static_cast<uint16_t>(first + 3);
    }
    ReadWindowSize();
}

gxtkGraphics::~gxtkGraphics() = default;

void gxtkGraphics::ReadWindowSize() {
    int width = 0, height = 0, framebufferWidth = 0, framebufferHeight = 0;
    if (windowSize_) windowSize_(&width, &height, &framebufferWidth, &framebufferHeight);
    width_ = width;
    height_ = height;
    framebufferWidth_ = framebufferWidth;
    framebufferHeight_ = framebufferHeight;
}

int gxtkGraphics::BeginFrame() {
    ReadWindowSize();
    vertexCount_ = 0;
    // Most frames draw nothing: when the presenter's target can wait, the GL
    // is set up only when the frame first draws.
    setUpPending_ = presenter_.BeginFrame(width_, height_, framebufferWidth_, framebufferHeight_);
    if (!setUpPending_) SetUpFrameState();
    return 1;
}

// Projection, arrays and blending for drawing this frame; the target and its
// viewport are set already.
void gxtkGraphics::SetUpFrameState() {
    gl_.MatrixMode(GL_PROJECTION);
    gl_.LoadIdentity();
    // Origin at the top-left either way; the kept framebuffer stores rows top first.
    if (presenter_.DrawingIntoKeptFramebuffer()) {
        gl_.Ortho(0, width_, 0, height_, -1, 1);
    } else {
        gl_.Ortho(0, width_, height_, 0, -1, 1);
    }
    gl_.MatrixMode(GL_MODELVIEW);
    gl_.LoadIdentity();

    UseVertexArrays(gl_, &vertices_[0]);

    gl_.Enable(GL_BLEND);
    gl_.BlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    gl_.Disable(GL_TEXTURE_2D);
}

// The deferred set-up, then the blend and clip asked for before it.
void gxtkGraphics::EnsureFrameSetUp() {
    if (!setUpPending_) return;
    setUpPending_ = false;
    presenter_.BindTarget();
    SetUpFrameState();
    gl_.Disable(GL_SCISSOR_TEST);
    ApplyBlend();
    ApplyScissor();
}

void gxtkGraphics::EndFrame() {
    if (vertexCount_ > 0) Flush();
    setUpPending_ = false;
    presenter_.EndFrame();
}

void gxtkGraphics::AddDamage(const gxtkVertex* vertices, int count) {
    if (count <= 0) return;
    float left = vertices[0].x, right = left, top = vertices[0].y, bottom = top;
    for (int i = 1; i < count; ++i) {
        left = std::min(left, vertices[i].x);
        right = std::max(right, vertices[i].x);
        top = std::min(top, vertices[i].y);
        bottom = std::max(bottom, vertices[i].y);
    }
    presenter_.Damage().Add(left, top, right, bottom);
}

// ---- state ----

void gxtkGraphics::UpdateColourWord() {
    colour_[0] = ColourByte(red_ * alpha_);
    colour_[1] = ColourByte(green_ * alpha_);
    colour_[2] = ColourByte(blue_ * alpha_);
    colour_[3] = ColourByte(255 * alpha_);
}

void gxtkGraphics::SetAlpha(float alpha) {
    alpha_ = alpha;
    UpdateColourWord();
}

void gxtkGraphics::SetColor(float red, float green, float blue) {
    red_ = red;
    green_ = green;
    blue_ = blue;
    UpdateColourWord();
}

void gxtkGraphics::SetBlend(int mode) {
    if (vertexCount_ > 0) Flush();
    blendMode_ = mode;
    if (!setUpPending_) ApplyBlend();
}

void gxtkGraphics::ApplyBlend() {
    if (blendMode_ == 1) {
        gl_.BlendFunc(GL_ONE, GL_ONE);
    } else {
        gl_.BlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    }
}

void gxtkGraphics::SetScissor(int x, int y, int width, int height) {
    if (vertexCount_ > 0) Flush();
    scissor_ = {x, y, x + width, y + height};
    scissorWhole_ = x == 0 && y == 0 && width == width_ && height == height_;
    if (scissorWhole_) {
        presenter_.Damage().SetClip(false, {});
    } else {
        presenter_.Damage().SetClip(true, scissor_);
    }
    if (!setUpPending_) ApplyScissor();
}

void gxtkGraphics::ApplyScissor() {
    if (scissorWhole_) {
        gl_.Disable(GL_SCISSOR_TEST);
    } else {
        const int height = scissor_.Height();
        gl_.Enable(GL_SCISSOR_TEST);
        gl_.Scissor(scissor_.left,
                    presenter_.DrawingIntoKeptFramebuffer() ? scissor_.top : height_ - scissor_.top - height,
                    scissor_.Width(), height);
    }
}

void gxtkGraphics::SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) {
    ix_ = ix;
    iy_ = iy;
    jx_ = jx;
    jy_ = jy;
    tx_ = tx;
    ty_ = ty;
    transformed_ = !(ix == 1 && iy == 0 && jx == 0 && jy == 1 && tx == 0 && ty == 0);
}

void gxtkGraphics::ClearScreen(float red, float green, float blue) {
    vertexCount_ = 0;
    EnsureFrameSetUp();
    gl_.ClearColor(red / 255.0f, green / 255.0f, blue / 255.0f, 1);
    gl_.Clear(GL_COLOR_BUFFER_BIT);
    presenter_.Damage().AddAll();
}

// ---- batch ----

void gxtkGraphics::Flush() {
    EnsureFrameSetUp();
    const bool textured = batchSurface_ != nullptr;
    if (textured) {
        gl_.Enable(GL_TEXTURE_2D);
        batchSurface_->Bind();
    }
    switch (primitiveOrder_) {
        case 1:
            gl_.DrawArrays(GL_POINTS, 0, vertexCount_);
            break;
        case 2:
            gl_.DrawArrays(GL_LINES, 0, vertexCount_);
            break;
        case 3:
            gl_.DrawArrays(GL_TRIANGLES, 0, vertexCount_);
            break;
        case 4:
            gl_.DrawElements(GL_TRIANGLES, vertexCount_ / 4 * 6, GL_UNSIGNED_SHORT, quadIndices_);
            break;
        default:
            for (int first = 0; first < vertexCount_; first += primitiveOrder_) {
                gl_.DrawArrays(GL_TRIANGLE_FAN, first, primitiveOrder_);
            }
            break;
    }
    if (textured) gl_.Disable(GL_TEXTURE_2D);
    vertexCount_ = 0;
}

gxtkVertex* gxtkGraphics::OpenRoom(int count, int order, const std::shared_ptr<gxtkSurface>& surface) {
    if (order == primitiveOrder_ && surface.get() == batchSurface_.get() && vertexCount_ + count <= kMaxVertices) {
        gxtkVertex* first = &vertices_[vertexCount_];
        vertexCount_ += count;
        return first;
    }
    if (vertexCount_ > 0) Flush();
    primitiveOrder_ = order;
    if (surface.get() != batchSurface_.get()) batchSurface_ = surface;
    vertexCount_ = count;
    return &vertices_[0];
}

void gxtkGraphics::Put(gxtkVertex& vertex, float x, float y, float u, float v) const {
    if (transformed_) {
        vertex.x = ix_ * x + jx_ * y + tx_;
        vertex.y = iy_ * x + jy_ * y + ty_;
    } else {
        vertex.x = x;
        vertex.y = y;
    }
    vertex.u = u;
    vertex.v = v;
    std::memcpy(vertex.colour, colour_, sizeof colour_);
}

// ---- primitives ----

void gxtkGraphics::DrawPoint(float x, float y) {
    if (primitiveOrder_ != 1 || batchSurface_ || vertexCount_ == kMaxVertices) {
        if (vertexCount_ > 0) Flush();
        primitiveOrder_ = 1;
        batchSurface_.reset();
    }
    gxtkVertex& vertex = vertices_[vertexCount_++];
    Put(vertex, x, y, 0, 0);
    vertex.x += 0.5f;
    vertex.y += 0.5f;
    AddDamage(&vertex, 1);
}

void gxtkGraphics::DrawRect(float x, float y, float width, float height) {
    gxtkVertex* v = OpenRoom(4, 4, kNoSurface);
    Put(v[0], x, y, 0, 0);
    Put(v[1], x + width, y, 0, 0);
    Put(v[2], x + width, y + height, 0, 0);
    Put(v[3], x, y + height, 0, 0);
    AddDamage(v, 4);
}

void gxtkGraphics::DrawLine(float x1, float y1, float x2, float y2) {
    gxtkVertex* v = OpenRoom(2, 2, kNoSurface);
    Put(v[0], x1, y1, 0, 0);
    Put(v[1], x2, y2, 0, 0);
    for (int i = 0; i < 2; ++i) {
        v[i].x += 0.5f;
        v[i].y += 0.5f;
    }
    AddDamage(v, 2);
}

void gxtkGraphics::DrawOval(float x, float y, float width, float height) {
    const float rx = width / 2, ry = height / 2;
    const float cx = x + rx, cy = y + ry;
    int segments;
    if (!transformed_) {
        segments = static_cast<int>(std::fabs(rx) + std::fabs(ry));
    } else {
        const float xAxis = std::sqrt((ix_ * rx) * (ix_ * rx) + (iy_ * rx) * (iy_ * rx));
        const float yAxis = std::sqrt((jx_ * ry) * (jx_ * ry) + (jy_ * ry) * (jy_ * ry));
        segments = static_cast<int>(xAxis + yAxis);
    }
    if (segments <= 11) {
        segments = 12;
    } else if (segments > kMaxVertices) {
        segments = kMaxVertices;
    } else {
        segments &= ~3;
    }
    gxtkVertex* v = OpenRoom(segments, segments, kNoSurface);
    for (int i = 0; i < segments; ++i) {
        const float angle = static_cast<float>(i) * 6.2831855f / static_cast<float>(segments);
        Put(v[i], cx + std::cos(angle) * rx, cy - std::sin(angle) * ry, 0, 0);
    }
    AddDamage(v, segments);
}

void gxtkGraphics::DrawPoly(const std::vector<float>& xy) {
    const int count = static_cast<int>(xy.size() / 2);
    if (count == 0 || count > kMaxVertices) return;
    gxtkVertex* v = OpenRoom(count, count, kNoSurface);
    for (int i = 0; i < count; ++i) Put(v[i], xy[i * 2], xy[i * 2 + 1], 0, 0);
    AddDamage(v, count);
}

void gxtkGraphics::DrawTexturedPoly(const std::vector<float>& xyuv, const std::shared_ptr<gxtkSurface>& surface,
                                    int sourceX, int sourceY) {
    const int count = static_cast<int>(xyuv.size() / 4);
    if (count == 0 || count > kMaxVertices || !surface) return;
    gxtkVertex* v = OpenRoom(count, count, surface);
    for (int i = 0; i < count; ++i) {
        const float* p = &xyuv[i * 4];
        Put(v[i], p[0], p[1], (p[2] + sourceX) * surface->uScale, (p[3] + sourceY) * surface->vScale);
    }
    AddDamage(v, count);
}

void gxtkGraphics::DrawSurface(const std::shared_ptr<gxtkSurface>& surface, float x, float y) {
    if (!surface) return;
    const float w = static_cast<float>(surface->width), h = static_cast<float>(surface->height);
    const float us = surface->uScale, vs = surface->vScale;
    gxtkVertex* v = OpenRoom(4, 4, surface);
    Put(v[0], x, y, 0, 0);
    Put(v[1], x + w, y, w * us, 0);
    Put(v[2], x + w, y + h, w * us, h * vs);
    Put(v[3], x, y + h, 0, h * vs);
    AddDamage(v, 4);
}

void gxtkGraphics::DrawSurfaceRect(const std::shared_ptr<gxtkSurface>& surface, float x, float y, int sourceX,
                                   int sourceY, int sourceWidth, int sourceHeight) {
    if (!surface) return;
    const float us = surface->uScale, vs = surface->vScale;
    const float sx = static_cast<float>(sourceX), sy = static_cast<float>(sourceY);
    const float sw = static_cast<float>(sourceWidth), sh = static_cast<float>(sourceHeight);
    gxtkVertex* v = OpenRoom(4, 4, surface);
    Put(v[0], x, y, sx * us, sy * vs);
    Put(v[1], x + sw, y, (sx + sw) * us, sy * vs);
    Put(v[2], x + sw, y + sh, (sx + sw) * us, (sy + sh) * vs);
    Put(v[3], x, y + sh, sx * us, (sy + sh) * vs);
    AddDamage(v, 4);
}

// ---- pixels ----

void gxtkGraphics::ReadPixels(std::vector<int>& pixels, int x, int y, int width, int height, int offset, int pitch) {
    if (vertexCount_ > 0) Flush();
    EnsureFrameSetUp();
    if (width <= 0 || height <= 0) return;
    std::vector<uint32_t> block(static_cast<size_t>(width) * static_cast<size_t>(height));
    // The array wants the topmost screen row first: the kept framebuffer
    // stores rows that way, the window bottom to top.
    const bool topFirst = presenter_.DrawingIntoKeptFramebuffer();
    gl_.ReadPixels(x, topFirst ? y : height_ - y - height, width, height, GL_BGRA, GL_UNSIGNED_BYTE, block.data());
    // Rows or columns that fall outside the array are dropped.
    const long long size = static_cast<long long>(pixels.size());
    for (int row = 0; row < height; ++row) {
        const int blockRow = topFirst ? row : height - 1 - row;
        const uint32_t* source = &block[static_cast<size_t>(blockRow) * static_cast<size_t>(width)];
        const long long start = static_cast<long long>(offset) + static_cast<long long>(row) * pitch;
        for (int column = 0; column < width; ++column) {
            const long long index = start + column;
            if (index < 0 || index >= size) continue;
            pixels[static_cast<size_t>(index)] = static_cast<int>(source[column]);
        }
    }
}

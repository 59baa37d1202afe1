// c_GraphicsContext: the drawing state and the drawing operations that read it
// and forward to the render target (the driver while a frame is rendered).
#include "graphics/GraphicsContext.h"

#include <cmath>

#include "graphics/Font.h"
#include "graphics/Image.h"
#include "graphics/gxtkGraphics.h"

namespace {
constexpr float kPi = 3.14159265358979f;
const char* const kDefaultFontPath = "vexa_font.png";
}  // namespace

c_GraphicsContext::~c_GraphicsContext() = default;

void c_GraphicsContext::ResetDrawingState() {
    if (device) renderTarget = device;
    matrixStackDepth = 0;
    ix = 1, iy = 0, jx = 0, jy = 1, tx = 0, ty = 0;
    transformed = 0;
    matrixDirty = 1;
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetBlend(0);
    SetScissor(0, 0, static_cast<float>(deviceWidth), static_cast<float>(deviceHeight));
}

bool c_GraphicsContext::FrameContentLost() const { return device && device->FrameContentLost(); }

void c_GraphicsContext::SetColor(float r, float g, float b) {
    red = r;
    green = g;
    blue = b;
    if (renderTarget) renderTarget->SetColor(r, g, b);
}

void c_GraphicsContext::SetAlpha(float a) {
    alpha = a;
    if (renderTarget) renderTarget->SetAlpha(a);
}

void c_GraphicsContext::SetBlend(int mode) {
    blend = mode;
    if (renderTarget) renderTarget->SetBlend(mode);
}

void c_GraphicsContext::SetScissor(float x, float y, float width, float height) {
    scissorX = x;
    scissorY = y;
    scissorWidth = width;
    scissorHeight = height;
    if (renderTarget) {
        renderTarget->SetScissor(static_cast<int>(x), static_cast<int>(y), static_cast<int>(width),
                                 static_cast<int>(height));
    }
}

// ---- matrix ----

void c_GraphicsContext::Transform(float aix, float aiy, float ajx, float ajy, float atx, float aty) {
    const float nix = ix * aix + jx * aiy;
    const float niy = iy * aix + jy * aiy;
    const float njx = ix * ajx + jx * ajy;
    const float njy = iy * ajx + jy * ajy;
    const float ntx = ix * atx + jx * aty + tx;
    const float nty = iy * atx + jy * aty + ty;
    ix = nix, iy = niy, jx = njx, jy = njy, tx = ntx, ty = nty;
    transformed = (ix == 1 && iy == 0 && jx == 0 && jy == 1 && tx == 0 && ty == 0) ? 0 : 1;
    matrixDirty = 1;
}

void c_GraphicsContext::Translate(float x, float y) { Transform(1, 0, 0, 1, x, y); }

void c_GraphicsContext::Scale(float x, float y) { Transform(x, 0, 0, y, 0, 0); }

void c_GraphicsContext::Rotate(float degrees) {
    const float a = degrees * kPi / 180.0f;
    const float c = std::cos(a), s = std::sin(a);
    Transform(c, -s, s, c, 0, 0);
}

void c_GraphicsContext::PushMatrix() {
    if (matrixStackDepth + 6 > static_cast<int>(matrixStack.size())) {
        matrixStack.resize(matrixStack.empty() ? 192 : matrixStack.size() * 2);
    }
    float* top = &matrixStack[static_cast<size_t>(matrixStackDepth)];
    top[0] = ix, top[1] = iy, top[2] = jx, top[3] = jy, top[4] = tx, top[5] = ty;
    matrixStackDepth += 6;
}

void c_GraphicsContext::PopMatrix() {
    // An unbalanced pop would read before the stack; it keeps the matrix instead.
    if (matrixStackDepth < 6) return;
    matrixStackDepth -= 6;
    const float* top = &matrixStack[static_cast<size_t>(matrixStackDepth)];
    ix = top[0], iy = top[1], jx = top[2], jy = top[3], tx = top[4], ty = top[5];
    transformed = (ix == 1 && iy == 0 && jx == 0 && jy == 1 && tx == 0 && ty == 0) ? 0 : 1;
    matrixDirty = 1;
}

// ---- drawing ----

gxtkGraphics* c_GraphicsContext::PrepareToDraw() {
    if (!renderTarget) return nullptr;
    if (matrixDirty) {
        renderTarget->SetMatrix(ix, iy, jx, jy, tx, ty);
        matrixDirty = 0;
    }
    return renderTarget;
}

void c_GraphicsContext::DrawRect(float x, float y, float width, float height) {
    if (gxtkGraphics* target = PrepareToDraw()) target->DrawRect(x, y, width, height);
}

void c_GraphicsContext::DrawLine(float x1, float y1, float x2, float y2) {
    if (gxtkGraphics* target = PrepareToDraw()) target->DrawLine(x1, y1, x2, y2);
}

void c_GraphicsContext::DrawImage(const c_Image* image, float x, float y, int frame) {
    // A frame the image doesn't have would read past its frame list.
    if (!image || frame < 0 || frame >= image->FrameCount()) return;
    gxtkGraphics* target = PrepareToDraw();
    if (!target) return;
    const float drawX = x - image->handleX, drawY = y - image->handleY;
    if (image->flags & c_Image::WholeSurface) {
        target->DrawSurface(image->surface, drawX, drawY);
    } else {
        const c_Frame& source = image->frames[static_cast<size_t>(frame)];
        target->DrawSurfaceRect(image->surface, drawX, drawY, source.x, source.y, image->width, image->height);
    }
}

void c_GraphicsContext::DrawImageRect(const c_Image* image, int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                                      float x, float y) {
    if (!image || image->frames.empty()) return;
    gxtkGraphics* target = PrepareToDraw();
    if (!target) return;
    const c_Frame& first = image->frames[0];
    target->DrawSurfaceRect(image->surface, x - image->handleX, y - image->handleY, first.x + sourceX,
                            first.y + sourceY, sourceWidth, sourceHeight);
}

// ---- text ----

float c_GraphicsContext::TextWidth(const String& text) const {
    if (!currentFont) return 0;
    int width = 0;
    for (int i = 0; i < text.Length(); ++i) {
        if (const c_Glyph* glyph = currentFont->FindGlyph(text[i])) width += glyph->advance;
    }
    return static_cast<float>(width);
}

void c_GraphicsContext::DrawText(const String& text, int x, int y, float alignX, float alignY) {
    if (!currentFont) return;
    // Held so a SetFont from inside a twin's override can't free it mid-text.
    const std::shared_ptr<c_Font> font = currentFont;
    int penX = static_cast<int>(static_cast<float>(x) - TextWidth(text) * alignX);
    const int penY = static_cast<int>(static_cast<float>(y) - font->height * alignY);
    for (int i = 0; i < text.Length(); ++i) {
        const c_Glyph* glyph = font->FindGlyph(text[i]);
        if (!glyph) continue;
        if (glyph->page < 0 || glyph->page >= static_cast<int>(font->pages.size())) continue;
        DrawImageRect(font->pages[static_cast<size_t>(glyph->page)].get(), glyph->x, glyph->y, glyph->width,
                      glyph->height, static_cast<float>(penX + glyph->xOffset),
                      static_cast<float>(penY + glyph->yOffset));
        penX += glyph->advance;
    }
}

void c_GraphicsContext::SetFont(std::shared_ptr<c_Font> font) {
    if (font) {
        currentFont = std::move(font);
        return;
    }
    if (!defaultFont) defaultFont = LoadFont(*this, kDefaultFontPath, true);
    currentFont = defaultFont;
}

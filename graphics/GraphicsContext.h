// c_GraphicsContext: the one drawing state (colour, alpha, blend, matrix,
// scissor, font) that forwards drawing to the graphics driver.
// The drawing operations are virtual so a recording twin can log a frame.
#pragma once

#include <memory>
#include <vector>

#include "runtime/String.h"

class gxtkGraphics;
class c_Image;
class c_Font;

class c_GraphicsContext {
public:
    virtual ~c_GraphicsContext();

    // The graphics device (exists from start-up on) and the render target
    // (the device while a frame is being rendered, otherwise none).
    gxtkGraphics* device = nullptr;
    gxtkGraphics* renderTarget = nullptr;
    // Window size cached by the host at the start of every update and render.
    int deviceWidth = 0;
    int deviceHeight = 0;

    virtual void ResetDrawingState();
    virtual void SetColor(float red, float green, float blue);
    virtual void SetAlpha(float alpha);
    virtual void SetBlend(int mode);
    virtual void SetScissor(float x, float y, float width, float height);
    virtual void Transform(float ix, float iy, float jx, float jy, float tx, float ty);
    void Translate(float x, float y);
    void Scale(float x, float y);
    void Rotate(float degrees);
    void PushMatrix();
    void PopMatrix();
    virtual void DrawRect(float x, float y, float width, float height);
    virtual void DrawLine(float x1, float y1, float x2, float y2);
    virtual void DrawImage(const c_Image* image, float x, float y, int frame);
    virtual void DrawImageRect(const c_Image* image, int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                               float x, float y);
    virtual void DrawText(const String& text, int x, int y, float alignX, float alignY);
    virtual float TextWidth(const String& text) const;
    virtual void SetFont(std::shared_ptr<c_Font> font);
    // True while rendering a frame whose kept pixels were lost (first frame,
    // new context, new size): drawing that skips unchanged parts must draw all.
    bool FrameContentLost() const;

    // Drawing state, public for the driver glue and tests.
    std::shared_ptr<c_Font> defaultFont;
    std::shared_ptr<c_Font> currentFont;
    int matrixStackDepth = 0;
    float ix = 1, iy = 0, jx = 0, jy = 1, tx = 0, ty = 0;
    int transformed = 0;
    int matrixDirty = 0;
    float red = 0, green = 0, blue = 0;
    float alpha = 0;
    int blend = 0;
    float scissorX = 0, scissorY = 0, scissorWidth = 0, scissorHeight = 0;
    std::vector<float> matrixStack = std::vector<float>(192);

protected:
    // The render target with the current matrix given to it; none outside a frame.
    gxtkGraphics* PrepareToDraw();
};

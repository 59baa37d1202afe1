// RecordingGraphics: the drawing state's twin for tests. Each drawing call
// becomes one readable line ("color 86 60 106", "rect 0 0 640 475",
// "text 385 144 '  INSTRUMENT:01'", "image button1 561 144 0"); nothing reaches
// a graphics driver, so no window or GL context is needed.
#pragma once

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "graphics/GraphicsContext.h"
#include "tests/support/CallLog.h"

class RecordingGraphics : public c_GraphicsContext, public CallLog {
public:
    // Names the log uses for images ("button1"); unnamed ones log as "image?".
    std::map<const c_Image*, std::string> imageNames;

    static std::string Number(float value) {
        char text[48];
        std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
        return text;
    }

    void ResetDrawingState() override { log.push_back("reset"); }
    void SetColor(float r, float g, float b) override {
        red = r;
        green = g;
        blue = b;
        log.push_back("color " + Number(r) + " " + Number(g) + " " + Number(b));
    }
    void SetAlpha(float a) override {
        alpha = a;
        log.push_back("alpha " + Number(a));
    }
    void SetBlend(int mode) override {
        blend = mode;
        log.push_back("blend " + std::to_string(mode));
    }
    void SetScissor(float x, float y, float width, float height) override {
        log.push_back("scissor " + Number(x) + " " + Number(y) + " " + Number(width) + " " + Number(height));
    }
    void DrawRect(float x, float y, float width, float height) override {
        log.push_back("rect " + Number(x) + " " + Number(y) + " " + Number(width) + " " + Number(height));
    }
    void DrawLine(float x1, float y1, float x2, float y2) override {
        log.push_back("line " + Number(x1) + " " + Number(y1) + " " + Number(x2) + " " + Number(y2));
    }
    void DrawImage(const c_Image* image, float x, float y, int frame) override {
        log.push_back("image " + ImageName(image) + " " + Number(x) + " " + Number(y) + " " + std::to_string(frame));
    }
    void DrawImageRect(const c_Image* image, int sourceX, int sourceY, int sourceWidth, int sourceHeight, float x,
                       float y) override {
        log.push_back("imagerect " + ImageName(image) + " " + std::to_string(sourceX) + " " + std::to_string(sourceY) +
                      " " + std::to_string(sourceWidth) + " " + std::to_string(sourceHeight) + " " + Number(x) + " " +
                      Number(y));
    }
    void DrawText(const String& text, int x, int y, float alignX, float alignY) override {
        std::string line = "text " + std::to_string(x) + " " + std::to_string(y) + " '" + text.ToUtf8() + "'";
        if (alignX != 0 || alignY != 0) line += " align " + Number(alignX) + " " + Number(alignY);
        log.push_back(line);
    }
    // Every glyph of the tracker font advances 11 units.
    float TextWidth(const String& text) const override { return 11.0f * static_cast<float>(text.Length()); }

private:
    std::string ImageName(const c_Image* image) const {
        if (!image) return "none";
        auto found = imageNames.find(image);
        return found == imageNames.end() ? "image?" : found->second;
    }
};

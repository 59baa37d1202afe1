// Graphics benchmark: how many draw calls typical drawing sequences cost, and
// the CPU time the driver and drawing state spend per 1000 rects and glyphs.
// GL calls go to a counting stand-in, so only our own work is timed.
#include <chrono>
#include <cstdio>
#include <functional>

#include "bench/graphics/CountingGl.h"
#include "graphics/Font.h"
#include "graphics/GraphicsContext.h"
#include "graphics/Image.h"
#include "graphics/gxtkGraphics.h"

namespace {

struct Setup {
    CountingGl gl;
    gxtkGraphics graphics{[](int* w, int* h, int* fw, int* fh) { *w = *fw = 640, *h = *fh = 475; }, &gl};
    c_GraphicsContext context;
    std::shared_ptr<c_Image> image;
    std::shared_ptr<c_Font> font;

    Setup() {
        context.device = &graphics;
        context.deviceWidth = 640;
        context.deviceHeight = 475;
        image = std::make_shared<c_Image>();
        image->Init(graphics.CreateSurface(32, 12), 1, 0);
        // A font like the tracker's: 96 cells of 11 x 12 on one page.
        font = std::make_shared<c_Font>();
        auto page = std::make_shared<c_Image>();
        page->Init(graphics.CreateSurface(1056, 12), 1, 0);
        font->pages.push_back(page);
        font->pageCount = 1;
        font->firstCharacter = 32;
        font->height = 12;
        for (int i = 0; i < 96; ++i) font->glyphs[32 + i] = c_Glyph{0, 32 + i, i * 11, 0, 11, 12, 11, 0, 0};
        context.SetFont(font);
    }

    // Draw calls of one frame made by `draw`.
    int Frame(const std::function<void()>& draw) {
        gl.drawCalls = 0;
        graphics.BeginFrame();
        context.ResetDrawingState();
        draw();
        context.renderTarget = nullptr;
        graphics.EndFrame();
        return gl.drawCalls;
    }
};

template <typename Work>
double MicrosecondsPerRound(int rounds, Work work) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) work();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return std::chrono::duration<double, std::micro>(elapsed).count() / rounds;
}

}  // namespace

int main() {
    Setup s;
    std::printf("draw calls per frame:\n");
    std::printf("  rect, image, rect                     %3d\n", s.Frame([&] {
        s.context.DrawRect(0, 0, 10, 10);
        s.context.DrawImage(s.image.get(), 5, 5, 0);
        s.context.DrawRect(20, 20, 10, 10);
    }));
    std::printf("  300 rects, changing colour            %3d\n", s.Frame([&] {
        for (int i = 0; i < 300; ++i) {
            s.context.SetColor(static_cast<float>(i % 256), 0, 0);
            s.context.DrawRect(static_cast<float>(i), 0, 1, 1);
        }
    }));
    std::printf("  33 text rows of 43 characters         %3d\n", s.Frame([&] {
        for (int row = 0; row < 33; ++row)
            s.context.DrawText("00 C-3 8F.. --- ... ... ... ... 00: 01 ....", 0, row * 12, 0, 0);
    }));
    std::printf("  33 rows, each a rect then its text    %3d\n", s.Frame([&] {
        for (int row = 0; row < 33; ++row) {
            s.context.DrawRect(0, static_cast<float>(row * 12), 303, 12);
            s.context.DrawText("00 C-3 8F.. --- ... ... ... ...", 0, row * 12, 0, 0);
        }
    }));
    std::printf("  20 ovals of 40 x 40                   %3d\n", s.Frame([&] {
        for (int i = 0; i < 20; ++i) s.context.DrawRect(0, 0, 1, 1), s.graphics.DrawOval(0, 0, 40, 40);
    }));

    const double rects = MicrosecondsPerRound(200, [&] {
        s.Frame([&] {
            for (int i = 0; i < 1000; ++i) s.context.DrawRect(static_cast<float>(i % 600), 10, 8, 8);
        });
    });
    const double glyphs = MicrosecondsPerRound(200, [&] {
        s.Frame([&] {
            for (int i = 0; i < 25; ++i)
                s.context.DrawText("0123456789012345678901234567890123456789", 0, i * 12, 0, 0);
        });
    });
    std::printf("CPU time per 1000 rects (drawing state + batch): %.1f us\n", rects);
    std::printf("CPU time per 1000 glyphs (DrawText):             %.1f us\n", glyphs);
    return 0;
}

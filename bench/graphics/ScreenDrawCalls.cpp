// Screen draw-call benchmark: the tracker screen drawn through the drawing
// state and the real driver over a GL that only counts. Prints the GL draw
// calls of one full layout (and of a frame that has one), of an ordinary frame,
// the kept-frame work per frame for both ways of keeping frames, and the CPU
// time of those frames on our side of the GL. Prints figures only.
//
// Usage: zrb_bench_screen_draw_calls [folder holding data/]  (default: the build folder)
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>

#include "bench/graphics/CountingGl.h"
#include "bench/screen/BusyPattern.h"
#include "graphics/Font.h"
#include "graphics/GraphicsContext.h"
#include "graphics/Image.h"
#include "graphics/gxtkGraphics.h"
#include "io/DataPath.h"
#include "screen/Screen.h"
#include "song/SongModel.h"

namespace {
using bench::CpuSeconds;
using bench::FillPattern;

constexpr int kWidth = 640;
constexpr int kHeight = 475;

struct Bench {
    CountingGl gl;
    std::unique_ptr<gxtkGraphics> graphics;
    c_GraphicsContext context;
    TrackerState state;

    explicit Bench(bool framebufferObjects) {
        gl.framebufferObjects = framebufferObjects;
        graphics = std::make_unique<gxtkGraphics>(
            [](int* w, int* h, int* fw, int* fh) { *w = *fw = kWidth, *h = *fh = kHeight; }, &gl);
        graphics->SetGarbageBackBuffer(false);
        graphics->SetCopiedFrames(!framebufferObjects);
        context.device = graphics.get();
        context.deviceWidth = kWidth;
        context.deviceHeight = kHeight;
        BuildEmptySong(state);
        FillPattern(state);
        state.transportState = tracker::kEditing;
        // The program's own images: their textures decide how glyphs and buttons batch.
        state.font = LoadFont(context, "vexafont.png", false);
        context.SetFont(state.font);
        state.buttonImage = LoadImage(context, "button1.png", DefaultImageFlags());
        state.navRowImage = LoadImage(context, "button_navrow.png", DefaultImageFlags());
        Frame([] {});  // makes the kept frame's texture or framebuffer
    }

    // One frame as the host brackets it.
    void Frame(const std::function<void()>& draw) {
        graphics->BeginFrame();
        context.renderTarget = graphics.get();
        context.ResetDrawingState();
        draw();
        context.renderTarget = nullptr;
        graphics->EndFrame();
    }

    void FullLayout() {
        Frame([&] { DrawMainScreen(state, context); });
    }
    void FrameWithFullLayout() {
        state.redrawCounter = screen::kFullLayoutInterval + 1;
        Frame([&] { RenderScreen(state, context); });
    }
    void OrdinaryFrame() {
        state.redrawCounter = 0;
        Frame([&] { RenderScreen(state, context); });
    }

    void Count(const char* name, const std::function<void()>& frame) {
        gl.Reset();
        frame();
        std::printf("  %-32s %4d draw calls  %2d blits  %2d texture copies  %3d texture binds\n", name, gl.drawCalls,
                    gl.blits, gl.textureCopies, gl.textureBinds);
    }
};

template <typename Work>
double MicrosecondsEach(int rounds, Work work) {
    const double start = CpuSeconds();
    for (int i = 0; i < rounds; ++i) work();
    return (CpuSeconds() - start) / rounds * 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    SetAppDirectory(String(argc > 1 ? argv[1] : ZRB_BENCH_APP_DIR));
    ContextGeneration() = 1;  // as after the host made its window: textures and kept frames are made

    for (const bool framebufferObjects : {true, false}) {
        Bench bench(framebufferObjects);
        if (!bench.state.font) {
            std::printf("no font under the data folder: build zrb_images or pass the folder holding data/\n");
            return 1;
        }
        std::printf("frames kept through %s:\n",
                    framebufferObjects ? "an offscreen framebuffer object" : "copies of the back buffer");
        bench.Count("full layout (DrawMainScreen)", [&] { bench.FullLayout(); });
        bench.Count("frame with the full layout", [&] { bench.FrameWithFullLayout(); });
        bench.Count("ordinary frame", [&] { bench.OrdinaryFrame(); });
        if (!framebufferObjects) continue;
        // Our side only: drawing state, batching and the driver; the GL does nothing.
        const double full = MicrosecondsEach(2000, [&] { bench.FullLayout(); });
        const double withFull = MicrosecondsEach(2000, [&] { bench.FrameWithFullLayout(); });
        const double ordinary = MicrosecondsEach(20000, [&] { bench.OrdinaryFrame(); });
        std::printf("CPU time, screen + drawing state + driver (counting GL):\n");
        std::printf("  full layout (DrawMainScreen)     %8.2f us\n", full);
        std::printf("  frame with the full layout       %8.2f us\n", withFull);
        std::printf("  ordinary frame                   %8.2f us\n", ordinary);
    }
    return 0;
}

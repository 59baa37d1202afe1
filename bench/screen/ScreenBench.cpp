// Prints the CPU time the tracker screen spends building one full layout and
// one ordinary frame (status area, marker, meters). The drawing context only
// counts calls, so the figures are the screen's own cost without any driver.
#include <cstdio>
#include <ctime>

#include "bench/screen/BusyPattern.h"
#include "graphics/GraphicsContext.h"
#include "screen/Screen.h"
#include "song/SongModel.h"

namespace {
using bench::CpuSeconds;
using bench::FillPattern;
class CountingGraphics : public c_GraphicsContext {
public:
    long colors = 0, rects = 0, lines = 0, images = 0, texts = 0, characters = 0;
    void SetColor(float, float, float) override { ++colors; }
    void DrawRect(float, float, float, float) override { ++rects; }
    void DrawLine(float, float, float, float) override { ++lines; }
    void DrawImage(const c_Image*, float, float, int) override { ++images; }
    void DrawText(const String& text, int, int, float, float) override {
        ++texts;
        characters += text.Length();
    }
    void Reset() { colors = rects = lines = images = texts = characters = 0; }
};

template <typename Draw>
void Measure(const char* name, int repetitions, CountingGraphics& g, Draw draw) {
    g.Reset();
    draw();  // one untimed pass for the call counts
    std::printf("%-14s %3ld colours %3ld rects %2ld lines %2ld images %3ld texts (%ld characters)\n", name, g.colors,
                g.rects, g.lines, g.images, g.texts, g.characters);
    const double start = CpuSeconds();
    for (int i = 0; i < repetitions; ++i) draw();
    const double perCall = (CpuSeconds() - start) / repetitions;
    std::printf("%-14s %.2f us CPU each (%d runs)\n", name, perCall * 1e6, repetitions);
}
}  // namespace

int main() {
    TrackerState state;
    BuildEmptySong(state);
    FillPattern(state);
    state.transportState = tracker::kEditing;
    CountingGraphics g;

    Measure("full layout", 2000, g, [&] { DrawMainScreen(state, g); });
    // An ordinary frame while playing: follow on, past the pattern's first row.
    state.transportState = tracker::kPlaying;
    state.playRow = 5;
    Measure("ordinary frame", 20000, g, [&] { RenderScreen(state, g); });
    return 0;
}

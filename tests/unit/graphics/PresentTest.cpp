// Presenting only what changed: over a GL with the partial copy, a frame that
// draws nothing presents nothing, and a frame that draws one rectangle copies
// exactly that rectangle to the window, at every window scale; without the
// partial copy the whole frame goes out for a swap.
#include <gtest/gtest.h>

#include "graphics/gxtkGraphics.h"
#include "tests/unit/graphics/FakeGl.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 475;

class PresentTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        savedGeneration_ = ContextGeneration();
        ContextGeneration() = 1;
        gl.copySubBuffer = true;
    }
    void TearDown() override {
        graphics.reset();
        ContextGeneration() = savedGeneration_;
    }
    void Open(int scale) {
        graphics = std::make_unique<gxtkGraphics>(
            [scale](int* width, int* height, int* framebufferWidth, int* framebufferHeight) {
                *width = kWidth, *height = kHeight;
                *framebufferWidth = kWidth * scale, *framebufferHeight = kHeight * scale;
            },
            &gl);
    }
    void Frame(void (*draw)(gxtkGraphics&)) {
        gl.blits.clear();
        gl.subBufferCopies.clear();
        graphics->BeginFrame();
        draw(*graphics);
        graphics->EndFrame();
    }

    FakeGl gl;
    std::unique_ptr<gxtkGraphics> graphics;
    int savedGeneration_ = 0;
};

TEST_P(PresentTest, UnchangedFramePresentsNothingAndAChangePresentsItsRectangle) {
    const int s = GetParam();
    Open(s);
    Frame([](gxtkGraphics& g) { g.DrawRect(0, 0, kWidth, kHeight); });
    ASSERT_EQ(gl.subBufferCopies.size(), 1u) << "the first frame goes out whole";
    EXPECT_EQ(gl.subBufferCopies[0].width, kWidth * s);
    EXPECT_EQ(gl.subBufferCopies[0].height, kHeight * s);
    EXPECT_FALSE(graphics->SwapNeeded()) << "the back buffer is never swapped";

    Frame([](gxtkGraphics&) {});
    EXPECT_TRUE(gl.blits.empty());
    EXPECT_TRUE(gl.subBufferCopies.empty());
    EXPECT_FALSE(graphics->SwapNeeded());
    EXPECT_EQ(graphics->PresentCount(), 1);

    // A meter-like bar drawn upward (negative height) from y = 348.
    Frame([](gxtkGraphics& g) { g.DrawRect(407, 348, 16, -20); });
    const int h = kHeight * s;
    if (s == 1) {
        EXPECT_TRUE(gl.blits.empty()) << "at scale 1 drawing goes straight to the back buffer";
    } else {
        ASSERT_EQ(gl.blits.size(), 1u);
        const GLint source[4] = {407, 328, 423, 348};
        const GLint destination[4] = {407 * s, h - 328 * s, 423 * s, h - 348 * s};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(gl.blits[0].source[i], source[i]) << i;
            EXPECT_EQ(gl.blits[0].destination[i], destination[i]) << i;
        }
        EXPECT_EQ(gl.blits[0].filter, static_cast<GLenum>(GL_NEAREST)) << "whole pixels at every scale";
    }
    ASSERT_EQ(gl.subBufferCopies.size(), 1u);
    EXPECT_EQ(gl.subBufferCopies[0].x, 407 * s);
    EXPECT_EQ(gl.subBufferCopies[0].y, h - 348 * s) << "GL counts rows from the bottom";
    EXPECT_EQ(gl.subBufferCopies[0].width, 16 * s);
    EXPECT_EQ(gl.subBufferCopies[0].height, 20 * s);

    // Two far-apart changes are two copies; a request for a full present
    // (the window was exposed) copies everything even when nothing changed.
    Frame([](gxtkGraphics& g) {
        g.DrawLine(2, 2, 303, 2);
        g.DrawRect(520, 323, 50, 16);
    });
    EXPECT_EQ(gl.subBufferCopies.size(), 2u);
    // A row line erased and one drawn a pattern row lower is one copy.
    Frame([](gxtkGraphics& g) {
        g.DrawLine(2, 98, 303, 98);
        g.DrawLine(2, 110, 303, 110);
    });
    ASSERT_EQ(gl.subBufferCopies.size(), 1u);
    EXPECT_EQ(gl.subBufferCopies[0].height, 13 * s);
    graphics->RequestFullPresent();
    Frame([](gxtkGraphics&) {});
    ASSERT_EQ(gl.subBufferCopies.size(), 1u);
    EXPECT_EQ(gl.subBufferCopies[0].width, kWidth * s);
}

INSTANTIATE_TEST_SUITE_P(Scales, PresentTest, ::testing::Values(1, 2, 3, 4));

TEST(PresentFallbackTest, WithoutThePartialCopyAChangedFrameIsSwappedWhole) {
    const int saved = ContextGeneration();
    ContextGeneration() = 1;
    FakeGl gl;
    gl.copySubBuffer = false;
    {
        gxtkGraphics graphics(
            [](int* width, int* height, int* framebufferWidth, int* framebufferHeight) {
                *width = *framebufferWidth = kWidth, *height = *framebufferHeight = kHeight;
            },
            &gl);
        for (int frame = 0; frame < 2; ++frame) {
            graphics.BeginFrame();
            graphics.DrawRect(10, 10, 5, 5);
            graphics.EndFrame();
            EXPECT_TRUE(graphics.SwapNeeded());
            ASSERT_FALSE(gl.blits.empty());
            EXPECT_EQ(gl.blits.back().source[2], kWidth) << "the whole frame, the back buffer is new after a swap";
        }
        EXPECT_TRUE(gl.subBufferCopies.empty());
        graphics.BeginFrame();
        graphics.EndFrame();
        EXPECT_FALSE(graphics.SwapNeeded());
    }
    ContextGeneration() = saved;
}

}  // namespace

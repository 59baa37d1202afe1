// The presenter's kept frame under the driver, over a recording GL: through a
// framebuffer object (made once per context and size, blit upright to the
// window) or through copies of the back buffer drawn back first, over a
// garbage back buffer, and the fall-backs when either is missing; and the
// presenter on its own, with no driver drawing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/FramePresenter.h"
#include "tests/unit/graphics/DriverFixture.h"

namespace {

class KeptFrameTest : public DriverFixture {};

// Frames as the tracker draws them: a full layout, then frames that draw only
// a strip. What reaches each swap must show every layer since the first frame,
// whatever the back buffer held after the previous swap.
struct KeptFrameCase {
    bool framebufferObjects;
    bool garbage;
};

class KeptFramePathTest : public DriverFixture, public ::testing::WithParamInterface<KeptFrameCase> {};

TEST_P(KeptFramePathTest, WhatReachesTheSwapHoldsEveryFrameSinceTheFirst) {
    Start(GetParam().framebufferObjects);
    graphics->SetGarbageBackBuffer(GetParam().garbage);
    EXPECT_EQ(graphics->DrawingIntoKeptFramebuffer(), GetParam().framebufferObjects);
    graphics->SetAlpha(1);
    graphics->SetColor(10, 0, 0);
    graphics->DrawRect(0, 0, kWidth, kHeight);
    graphics->SetColor(20, 0, 0);
    graphics->DrawRect(2, 14, 380, 385);
    graphics->EndFrame();
    EXPECT_FALSE(graphics->DrawingIntoKeptFramebuffer());
    const std::vector<std::string> first{"clear 0,0,0", "10,0,0", "20,0,0"};
    EXPECT_EQ(gl.picture[0], first);
    gl.Swap();

    graphics->BeginFrame();
    graphics->SetColor(30, 0, 0);
    graphics->DrawRect(2, 0, 100, 14);
    graphics->SetScissor(0, 0, 50, 50);  // a clip still set at the end of the frame
    graphics->SetColor(40, 0, 0);
    graphics->DrawRect(0, 0, 10, 10);
    graphics->EndFrame();
    const std::vector<std::string> second{"clear 0,0,0", "10,0,0", "20,0,0", "30,0,0", "40,0,0"};
    EXPECT_EQ(gl.picture[0], second);
    gl.Swap();

    graphics->BeginFrame();  // nothing drawn at all
    graphics->EndFrame();
    // Kept in a framebuffer object, an unchanged frame is not presented: the
    // window keeps showing the second frame and no swap may follow.
    if (GetParam().framebufferObjects) {
        EXPECT_FALSE(graphics->SwapNeeded());
    } else {
        EXPECT_EQ(gl.picture[0], second);
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, KeptFramePathTest,
                         ::testing::Values(KeptFrameCase{true, false}, KeptFrameCase{true, true},
                                           KeptFrameCase{false, false}, KeptFrameCase{false, true}),
                         [](const ::testing::TestParamInfo<KeptFrameCase>& info) {
                             return std::string(info.param.framebufferObjects ? "FramebufferObject" : "Copy") +
                                    (info.param.garbage ? "OverGarbage" : "");
                         });

TEST_F(KeptFrameTest, KeptFramebufferIsATextureInTheWindowsPixelOrderClearedOnce) {
    ContextGeneration() = 2;
    Start(true);
    ASSERT_TRUE(graphics->DrawingIntoKeptFramebuffer());
    EXPECT_EQ(gl.loadFramebufferCalls, 2) << "asked once for each context";
    const GLuint framebuffer = gl.drawFramebuffer;
    ASSERT_NE(framebuffer, 0u);
    ASSERT_EQ(startImages.size(), 1u);
    EXPECT_EQ(gl.attachments[framebuffer], startImages[0].texture);
    EXPECT_EQ(startImages[0].width, kWidth);
    EXPECT_EQ(startImages[0].height, kHeight);
    EXPECT_EQ(startImages[0].format, static_cast<GLenum>(GL_BGRA));
    EXPECT_EQ(gl.picture[framebuffer], (std::vector<std::string>{"clear 0,0,0"}));

    graphics->DrawRect(0, 0, 1, 1);
    graphics->EndFrame();
    graphics->BeginFrame();
    graphics->EndFrame();
    EXPECT_EQ(gl.genFramebufferCalls, 0) << "the same framebuffer every frame";
    EXPECT_EQ(gl.genTextureCalls, 0);
    EXPECT_TRUE(gl.clears.empty()) << "frames after the first are neither cleared nor restored";
    ASSERT_EQ(gl.DrawCount(), 1);
    EXPECT_EQ(gl.draws[0].framebuffer, framebuffer);
    EXPECT_EQ(gl.loadFramebufferCalls, 2);
}

TEST_F(KeptFrameTest, KeptFramebufferOnAGlRefusingItsSizeUsesAPowerOfTwoTexture) {
    gl.refuseNonPowerOfTwo = true;
    Start(true);
    ASSERT_TRUE(graphics->DrawingIntoKeptFramebuffer());
    ASSERT_EQ(startImages.size(), 2u);
    EXPECT_EQ(startImages[1].width, 1024);
    EXPECT_EQ(startImages[1].height, 512);
    graphics->EndFrame();
    ASSERT_EQ(gl.blits.size(), 1u);
    EXPECT_EQ(gl.blits[0].source[2], kWidth) << "only the window-sized corner goes out";
    EXPECT_EQ(gl.blits[0].source[3], kHeight);
}

TEST_F(KeptFrameTest, FrameIsBlitUprightUnclippedAndTheWindowIsBoundForTheSwap) {
    const GLuint framebuffer = gl.drawFramebuffer;
    graphics->SetScissor(10, 10, 20, 20);
    graphics->DrawRect(0, 0, 1, 1);
    graphics->EndFrame();
    ASSERT_EQ(gl.blits.size(), 1u);
    const FakeGl::Blit& blit = gl.blits[0];
    EXPECT_EQ(blit.read, framebuffer);
    EXPECT_EQ(blit.draw, 0u);
    EXPECT_FALSE(blit.scissored);
    EXPECT_EQ(blit.mask, static_cast<GLbitfield>(GL_COLOR_BUFFER_BIT));
    EXPECT_EQ(blit.filter, static_cast<GLenum>(GL_NEAREST));
    const GLint source[4] = {0, 0, kWidth, kHeight};
    const GLint destination[4] = {0, kHeight, kWidth, 0};  // top row first becomes top row on screen
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(blit.source[i], source[i]) << i;
        EXPECT_EQ(blit.destination[i], destination[i]) << i;
    }
    EXPECT_EQ(gl.drawFramebuffer, 0u);
    EXPECT_EQ(gl.readFramebuffer, 0u);
    EXPECT_TRUE(gl.copies.empty());
}

TEST_F(KeptFrameTest, NewSizeOrContextMakesANewKeptFramebuffer) {
    const GLuint first = gl.drawFramebuffer;
    graphics->EndFrame();
    windowWidth = 320;
    graphics->BeginFrame();
    EXPECT_EQ(gl.genFramebufferCalls, 1);
    EXPECT_NE(gl.drawFramebuffer, first);
    EXPECT_EQ(gl.deletedFramebuffers, (std::vector<GLuint>{first}));
    EXPECT_EQ(gl.deletedTextures.size(), 1u);
    graphics->EndFrame();
    EXPECT_EQ(gl.blits.back().source[2], 320);

    ContextGeneration() = 2;
    graphics->BeginFrame();
    EXPECT_EQ(gl.genFramebufferCalls, 2);
    EXPECT_EQ(gl.deletedFramebuffers.size(), 1u) << "objects of an old context are not deleted";
    graphics->EndFrame();
}

TEST_F(KeptFrameTest, IncompleteFramebufferFallsBackToCopiesForThatContext) {
    gl.completeFramebuffers = false;
    Start(true);
    EXPECT_FALSE(graphics->DrawingIntoKeptFramebuffer());
    EXPECT_EQ(gl.drawFramebuffer, 0u);
    EXPECT_EQ(gl.deletedFramebuffers.size(), 1u);
    EXPECT_EQ(gl.deletedTextures.size(), 1u);
    graphics->EndFrame();
    EXPECT_EQ(gl.copies.size(), 1u);
    graphics->BeginFrame();
    EXPECT_EQ(gl.genFramebufferCalls, 0) << "not tried again every frame";
    EXPECT_EQ(gl.DrawCount(), 1) << "the copied frame is drawn back";
}

TEST_F(KeptFrameTest, CopiedFramesCanBeChosenWhereFramebufferObjectsExist) {
    graphics.reset();
    graphics = std::make_unique<gxtkGraphics>(
        [](int* width, int* height, int* framebufferWidth, int* framebufferHeight) {
            *width = kWidth, *height = kHeight, *framebufferWidth = kWidth, *framebufferHeight = kHeight;
        },
        &gl);
    graphics->SetCopiedFrames(true);
    gl.genFramebufferCalls = 0;
    graphics->BeginFrame();
    EXPECT_FALSE(graphics->DrawingIntoKeptFramebuffer());
    graphics->EndFrame();
    EXPECT_EQ(gl.genFramebufferCalls, 0);
    EXPECT_EQ(gl.copies.size(), 1u);
}

TEST_F(KeptFrameTest, FinishedFrameIsCopiedAndDrawnFirstInTheNext) {
    Start(false);
    // The first BeginFrame had nothing to restore: it cleared to zero instead.
    graphics->DrawRect(0, 0, 1, 1);
    graphics->EndFrame();
    ASSERT_EQ(gl.copies.size(), 1u);
    EXPECT_EQ(gl.copies[0].width, kWidth);
    EXPECT_EQ(gl.copies[0].height, kHeight);
    const GLuint keptTexture = gl.copies[0].texture;
    ASSERT_FALSE(gl.textureImages.empty());
    EXPECT_EQ(gl.textureImages.back().format, static_cast<GLenum>(GL_BGRA)) << "the window's own pixel order";

    gl.draws.clear();
    graphics->BeginFrame();
    ASSERT_EQ(gl.DrawCount(), 1);
    const FakeDrawCall& restore = gl.draws[0];
    EXPECT_TRUE(restore.textured);
    EXPECT_FALSE(restore.blended) << "the kept frame replaces the back buffer, it is not blended over it";
    EXPECT_EQ(restore.texture, keptTexture);
    EXPECT_EQ(gl.textureEnvModesAtDraw.back(), static_cast<GLenum>(GL_REPLACE));
    EXPECT_EQ(gl.textureEnvMode, static_cast<GLenum>(GL_MODULATE));
    ASSERT_EQ(restore.vertices.size(), 4u);
    EXPECT_FLOAT_EQ(restore.vertices[0].v, 1) << "the top of the screen is the texture's last row";
    EXPECT_FLOAT_EQ(restore.vertices[2].x, kWidth);
    EXPECT_FLOAT_EQ(restore.vertices[2].y, kHeight);
    EXPECT_FLOAT_EQ(restore.vertices[2].v, 0);
    EXPECT_TRUE(gl.IsEnabled(GL_BLEND));
    EXPECT_FALSE(gl.IsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(graphics->VertexCount(), 0);

    graphics->EndFrame();
    EXPECT_EQ(gl.copies.size(), 2u);
    EXPECT_EQ(gl.genTextureCalls, 1) << "the kept texture is reused while the size stays";
    EXPECT_TRUE(gl.blits.empty());
}

TEST_F(KeptFrameTest, GarbageBackBufferIsFilledBeforeTheRestore) {
    for (const bool framebufferObjects : {false, true}) {
        SCOPED_TRACE(framebufferObjects ? "framebuffer object" : "copy");
        Start(framebufferObjects);
        graphics->SetScissor(1, 1, 5, 5);
        graphics->EndFrame();
        graphics->SetGarbageBackBuffer(true);
        gl.clears.clear();
        gl.clearTargets.clear();
        gl.draws.clear();
        graphics->BeginFrame();
        ASSERT_EQ(gl.clears.size(), 1u);
        EXPECT_FLOAT_EQ(gl.clears[0][0], 1);
        EXPECT_FLOAT_EQ(gl.clears[0][1], 0);
        EXPECT_FLOAT_EQ(gl.clears[0][2], 1);
        EXPECT_EQ(gl.clearTargets[0], 0u) << "the window's back buffer gets the garbage";
        EXPECT_EQ(gl.DrawCount(), framebufferObjects ? 0 : 1);
        EXPECT_FALSE(gl.IsEnabled(GL_SCISSOR_TEST)) << "a clip left from the last frame must not cut the restore";
    }
}

TEST_F(KeptFrameTest, NoKeptFrameWithoutContextOrWhenSwitchedOff) {
    graphics->EndFrame();
    gl.blits.clear();
    ContextGeneration() = 0;
    Start(true);
    EXPECT_FALSE(graphics->DrawingIntoKeptFramebuffer());
    graphics->EndFrame();
    EXPECT_TRUE(gl.copies.empty());
    EXPECT_TRUE(gl.blits.empty());
    ContextGeneration() = 1;
    graphics->SetKeepFrames(false);
    graphics->BeginFrame();
    EXPECT_FALSE(graphics->DrawingIntoKeptFramebuffer());
    graphics->EndFrame();
    graphics->BeginFrame();
    EXPECT_TRUE(gl.copies.empty());
    EXPECT_TRUE(gl.blits.empty());
    EXPECT_EQ(gl.genFramebufferCalls, 0);
    EXPECT_EQ(gl.DrawCount(), 0);
}

// The presenter needs no driver: it hands out targets, draws a copied frame
// back with a quad of its own, and leaves the GL alone in a frame that drew
// nothing into a ready kept framebuffer.
TEST(PresenterAloneTest, TargetsCopiesAndIdleFramesWithoutADriver) {
    const int saved = ContextGeneration();
    ContextGeneration() = 1;
    for (const bool framebufferObjects : {true, false}) {
        SCOPED_TRACE(framebufferObjects ? "framebuffer object" : "copy");
        FakeGl gl;
        gl.framebufferObjects = framebufferObjects;
        graphics::FramePresenter presenter(gl);
        EXPECT_FALSE(presenter.BeginFrame(kWidth, kHeight, kWidth, kHeight)) << "the first frame is bound at once";
        EXPECT_EQ(presenter.DrawingIntoKeptFramebuffer(), framebufferObjects);
        EXPECT_TRUE(presenter.FrameContentLost());
        presenter.Damage().Add(0, 0, 10, 10);
        presenter.EndFrame();
        EXPECT_TRUE(presenter.SwapNeeded());
        EXPECT_EQ(gl.drawFramebuffer, 0u);
        EXPECT_EQ(gl.blits.size() + gl.copies.size(), 1u);

        gl.switches.clear();
        const bool waits = presenter.BeginFrame(kWidth, kHeight, kWidth, kHeight);
        if (framebufferObjects) {
            EXPECT_TRUE(waits) << "a ready framebuffer is bound when the frame first draws";
            presenter.EndFrame();
            EXPECT_TRUE(gl.switches.empty());
            EXPECT_EQ(gl.blits.size(), 1u);
            EXPECT_FALSE(presenter.SwapNeeded());
            EXPECT_EQ(presenter.PresentCount(), 1);
        } else {
            EXPECT_FALSE(waits);
            EXPECT_FALSE(presenter.FrameContentLost());
            ASSERT_EQ(gl.DrawCount(), 1);
            const FakeDrawCall& restore = gl.draws[0];
            ASSERT_EQ(restore.vertices.size(), 4u);
            EXPECT_FLOAT_EQ(restore.vertices[2].x, kWidth);
            EXPECT_FLOAT_EQ(restore.vertices[2].y, kHeight);
            presenter.EndFrame();
        }
    }
    ContextGeneration() = saved;
}

}  // namespace

// The graphics driver over a recording GL: batching and flush rules, vertex
// order and colour words of every primitive, clip, blend, the set-up for the
// presenter's target, surfaces and their textures, pixel reads and writes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/unit/graphics/DriverFixture.h"

namespace {

class DriverTest : public DriverFixture {};

TEST_F(DriverTest, ChangingTextureFlushesAndRectsStayInOneBatch) {
    auto surface = SmallSurface();
    graphics->DrawRect(0, 0, 10, 10);
    graphics->DrawSurfaceRect(surface, 5, 5, 0, 0, 2, 2);
    graphics->DrawRect(20, 20, 10, 10);
    graphics->EndFrame();
    ASSERT_EQ(gl.DrawCount(), 3);
    EXPECT_FALSE(gl.draws[0].textured);
    EXPECT_TRUE(gl.draws[1].textured);
    EXPECT_EQ(gl.draws[1].texture, surface->texture);
    EXPECT_FALSE(gl.draws[2].textured);
    EXPECT_FALSE(gl.IsEnabled(GL_TEXTURE_2D)) << "texturing is switched off again after a textured batch";
    for (const FakeDrawCall& call : gl.draws) {
        EXPECT_EQ(call.mode, static_cast<GLenum>(GL_TRIANGLES));
        EXPECT_TRUE(call.indexed);
        EXPECT_EQ(call.count, 6);
    }
}

TEST_F(DriverTest, ThreeHundredRectsGoOutAsTwoDrawCalls) {
    graphics->SetAlpha(1);
    for (int i = 0; i < 300; ++i) {
        graphics->SetColor(static_cast<float>(i % 256), 0, 0);  // colour never flushes
        graphics->DrawRect(static_cast<float>(i), 0, 1, 1);
    }
    graphics->EndFrame();
    ASSERT_EQ(gl.DrawCount(), 2);
    EXPECT_EQ(gl.draws[0].count, 256 * 6);
    EXPECT_EQ(gl.draws[1].count, 44 * 6);
    // The second batch restarts at vertex 0 with rect 256.
    EXPECT_FLOAT_EQ(gl.draws[1].vertices[0].x, 256);
    EXPECT_EQ(gl.draws[1].vertices[0].colour[0], 0);
    EXPECT_EQ(gl.draws[0].vertices[4 * 5].colour[0], 5);
}

TEST_F(DriverTest, QuadIndicesDescribeTwoTrianglesPerQuad) {
    const uint16_t* indices = graphics->QuadIndices();
    const uint16_t first[6] = {0, 1, 2, 0, 2, 3};
    const uint16_t last[6] = {1020, 1021, 1022, 1020, 1022, 1023};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(indices[i], first[i]);
        EXPECT_EQ(indices[255 * 6 + i], last[i]);
    }
}

TEST_F(DriverTest, ManyPrimitivesOverflowWithoutLoss) {
    for (int i = 0; i < 5000; ++i) graphics->DrawLine(0, 0, 1, 1);
    graphics->EndFrame();
    int vertices = 0;
    for (const FakeDrawCall& call : gl.draws) {
        EXPECT_LE(call.count, 1024);
        vertices += call.count;
    }
    EXPECT_EQ(vertices, 10000);
    EXPECT_EQ(gl.DrawCount(), 10);  // 512 lines per batch
}

TEST_F(DriverTest, ColourWordIsPremultipliedAndTruncated) {
    graphics->SetColor(255, 255, 255);
    graphics->SetAlpha(0.5f);
    const unsigned char* word = graphics->ColourWord();
    EXPECT_EQ(word[0], 127);
    EXPECT_EQ(word[1], 127);
    EXPECT_EQ(word[2], 127);
    EXPECT_EQ(word[3], 127);

    graphics->SetColor(200, 100, 51);
    EXPECT_EQ(word[0], 100);
    EXPECT_EQ(word[1], 50);
    EXPECT_EQ(word[2], 25);
    EXPECT_EQ(word[3], 127);

    graphics->DrawRect(0, 0, 1, 1);
    EXPECT_EQ(graphics->Vertices()[3].colour[0], 100);
    EXPECT_EQ(graphics->Vertices()[3].colour[3], 127);
}

TEST_F(DriverTest, ColourOutsideItsRangeIsClampedNotWrapped) {
    graphics->SetAlpha(1);
    graphics->SetColor(300, -20, 255.9f);
    const unsigned char* word = graphics->ColourWord();
    EXPECT_EQ(word[0], 255);
    EXPECT_EQ(word[1], 0);
    EXPECT_EQ(word[2], 255);
    graphics->SetAlpha(2);
    EXPECT_EQ(word[3], 255);
}

TEST_F(DriverTest, RectAndLineVertexOrderAndOffsets) {
    graphics->DrawRect(10, 20, 30, 40);
    const gxtkVertex* v = graphics->Vertices();
    const float expected[4][2] = {{10, 20}, {40, 20}, {40, 60}, {10, 60}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(v[i].x, expected[i][0]);
        EXPECT_FLOAT_EQ(v[i].y, expected[i][1]);
    }
    graphics->DrawLine(1, 2, 3, 4);
    EXPECT_EQ(graphics->PrimitiveOrder(), 2);
    EXPECT_FLOAT_EQ(v[0].x, 1.5f);
    EXPECT_FLOAT_EQ(v[0].y, 2.5f);
    EXPECT_FLOAT_EQ(v[1].x, 3.5f);
    EXPECT_FLOAT_EQ(v[1].y, 4.5f);
    ASSERT_EQ(gl.DrawCount(), 1);  // the rect went out when the line came
    graphics->EndFrame();
    EXPECT_EQ(gl.draws[1].mode, static_cast<GLenum>(GL_LINES));
}

TEST_F(DriverTest, PointsHaveTheirOwnBatch) {
    graphics->DrawPoint(3, 4);
    EXPECT_FLOAT_EQ(graphics->Vertices()[0].x, 3.5f);
    EXPECT_FLOAT_EQ(graphics->Vertices()[0].y, 4.5f);
    for (int i = 1; i < 1025; ++i) graphics->DrawPoint(0, 0);
    EXPECT_EQ(gl.DrawCount(), 1);
    EXPECT_EQ(gl.draws[0].mode, static_cast<GLenum>(GL_POINTS));
    EXPECT_EQ(gl.draws[0].count, 1024);
    EXPECT_EQ(graphics->VertexCount(), 1);
    graphics->DrawRect(0, 0, 1, 1);
    EXPECT_EQ(gl.DrawCount(), 2);
}

TEST_F(DriverTest, OvalSegmentCounts) {
    graphics->DrawOval(0, 0, 4, 4);
    EXPECT_EQ(graphics->PrimitiveOrder(), 12);
    EXPECT_EQ(graphics->VertexCount(), 12);
    graphics->DrawOval(0, 0, 3000, 3000);
    EXPECT_EQ(graphics->PrimitiveOrder(), 1024);
    EXPECT_EQ(graphics->VertexCount(), 1024);
    graphics->DrawOval(0, 0, 46, 0);  // 23 rounds down to 20
    EXPECT_EQ(graphics->PrimitiveOrder(), 20);
    graphics->DrawOval(0, 0, -50, -30);  // sizes count by magnitude: 40
    EXPECT_EQ(graphics->PrimitiveOrder(), 40);
    graphics->SetMatrix(2, 0, 0, 3, 0, 0);
    graphics->DrawOval(0, 0, 20, 20);  // 20 + 30
    EXPECT_EQ(graphics->PrimitiveOrder(), 48);
}

TEST_F(DriverTest, OvalGoesCounterClockwiseOnScreenFromTheRight) {
    graphics->DrawOval(10, 20, 40, 20);  // centre (30, 30), radii 20 and 10: 30 segments -> 28
    const int n = graphics->VertexCount();
    ASSERT_EQ(n, 28);
    const gxtkVertex* v = graphics->Vertices();
    EXPECT_NEAR(v[0].x, 50, 1e-4);
    EXPECT_NEAR(v[0].y, 30, 1e-4);
    EXPECT_NEAR(v[n / 4].x, 30, 1e-4);
    EXPECT_NEAR(v[n / 4].y, 20, 1e-4);  // a quarter turn reaches the top (y down)
}

TEST_F(DriverTest, SameSizedPolygonsShareABatchAndDrawOneFanEach) {
    graphics->DrawOval(0, 0, 4, 4);
    graphics->DrawOval(10, 0, 4, 4);
    graphics->EndFrame();
    ASSERT_EQ(gl.DrawCount(), 2);
    EXPECT_EQ(gl.draws[0].mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
    EXPECT_EQ(gl.draws[0].first, 0);
    EXPECT_EQ(gl.draws[1].first, 12);
    EXPECT_EQ(gl.draws[1].count, 12);
}

TEST_F(DriverTest, PolygonsOutsideTheBatchSizeAreSkipped) {
    graphics->DrawPoly({});
    graphics->DrawPoly(std::vector<float>(2 * 1025, 1.0f));
    EXPECT_EQ(graphics->VertexCount(), 0);
    graphics->DrawPoly({0, 0, 10, 0, 0, 10});
    EXPECT_EQ(graphics->PrimitiveOrder(), 3);
    graphics->EndFrame();
    ASSERT_EQ(gl.DrawCount(), 1);
    EXPECT_EQ(gl.draws[0].mode, static_cast<GLenum>(GL_TRIANGLES));
    EXPECT_FALSE(gl.draws[0].indexed);
}

TEST_F(DriverTest, MatrixTransformsPositionsButNotTextureCoordinates) {
    auto surface = SmallSurface();
    graphics->SetMatrix(2, 0, 0, 2, 10, 20);
    EXPECT_TRUE(graphics->Transformed());
    graphics->DrawSurface(surface, 1, 1);
    const gxtkVertex* v = graphics->Vertices();
    EXPECT_FLOAT_EQ(v[0].x, 12);
    EXPECT_FLOAT_EQ(v[0].y, 22);
    EXPECT_FLOAT_EQ(v[2].x, 16);
    EXPECT_FLOAT_EQ(v[2].y, 26);
    EXPECT_FLOAT_EQ(v[2].u, 1);
    EXPECT_FLOAT_EQ(v[2].v, 1);
    graphics->SetMatrix(1, 0, 0, 1, 0, 0);
    EXPECT_FALSE(graphics->Transformed());
}

TEST_F(DriverTest, SurfaceRectTextureCoordinatesUseTheScales) {
    auto surface = std::make_shared<gxtkSurface>(gl);
    surface->SetPixels(std::vector<unsigned char>(64 * 32 * 4, 0), 64, 32, 4);
    surface->Bind();
    graphics->DrawSurfaceRect(surface, 100, 50, 8, 4, 16, 12);
    const gxtkVertex* v = graphics->Vertices();
    EXPECT_FLOAT_EQ(v[0].x, 100);
    EXPECT_FLOAT_EQ(v[0].u, 8.0f / 64);
    EXPECT_FLOAT_EQ(v[0].v, 4.0f / 32);
    EXPECT_FLOAT_EQ(v[1].x, 116);
    EXPECT_FLOAT_EQ(v[1].u, 24.0f / 64);
    EXPECT_FLOAT_EQ(v[2].y, 62);
    EXPECT_FLOAT_EQ(v[2].v, 16.0f / 32);
    EXPECT_FLOAT_EQ(v[3].u, 8.0f / 64);
}

TEST_F(DriverTest, ScissorOffForTheWholeWindowOtherwiseFlipped) {
    Start(false);  // drawing straight into the window
    graphics->DrawRect(0, 0, 1, 1);
    graphics->SetScissor(10, 20, 100, 50);
    EXPECT_EQ(gl.DrawCount(), 1) << "the clip change flushes what was drawn before";
    EXPECT_TRUE(gl.IsEnabled(GL_SCISSOR_TEST));
    EXPECT_EQ(gl.scissor[0], 10);
    EXPECT_EQ(gl.scissor[1], kHeight - 20 - 50);
    EXPECT_EQ(gl.scissor[2], 100);
    EXPECT_EQ(gl.scissor[3], 50);
    const int calls = gl.scissorCalls;
    graphics->SetScissor(0, 0, kWidth, kHeight);
    EXPECT_FALSE(gl.IsEnabled(GL_SCISSOR_TEST));
    EXPECT_EQ(gl.scissorCalls, calls);
    graphics->SetScissor(0, 0, kWidth, kHeight - 1);
    EXPECT_TRUE(gl.IsEnabled(GL_SCISSOR_TEST));
    EXPECT_EQ(gl.scissor[1], 1);
}

TEST_F(DriverTest, ScissorIsNotFlippedInTheKeptFramebufferWhoseRowsRunDown) {
    ASSERT_TRUE(graphics->DrawingIntoKeptFramebuffer());
    graphics->SetScissor(10, 20, 100, 50);
    EXPECT_TRUE(gl.IsEnabled(GL_SCISSOR_TEST));
    EXPECT_EQ(gl.scissor[0], 10);
    EXPECT_EQ(gl.scissor[1], 20);
    EXPECT_EQ(gl.scissor[3], 50);
    graphics->SetScissor(0, 0, kWidth, kHeight);
    EXPECT_FALSE(gl.IsEnabled(GL_SCISSOR_TEST));
}

TEST_F(DriverTest, BlendModesFlush) {
    graphics->DrawRect(0, 0, 1, 1);
    graphics->SetBlend(1);
    EXPECT_EQ(gl.DrawCount(), 1);
    EXPECT_EQ(gl.blendSource, static_cast<GLenum>(GL_ONE));
    EXPECT_EQ(gl.blendDestination, static_cast<GLenum>(GL_ONE));
    graphics->SetBlend(7);
    EXPECT_EQ(gl.blendDestination, static_cast<GLenum>(GL_ONE_MINUS_SRC_ALPHA));
    EXPECT_EQ(gl.DrawCount(), 1) << "an empty batch is not drawn";
}

TEST_F(DriverTest, ClearScreenDropsTheOpenBatch) {
    graphics->DrawRect(0, 0, 1, 1);
    graphics->ClearScreen(86, 60, 106);
    graphics->EndFrame();
    EXPECT_EQ(gl.DrawCount(), 0);
    ASSERT_EQ(gl.clears.size(), 1u);
    EXPECT_FLOAT_EQ(gl.clears[0][0], 86 / 255.0f);
    EXPECT_FLOAT_EQ(gl.clears[0][2], 106 / 255.0f);
    EXPECT_FLOAT_EQ(gl.clears[0][3], 1);
}

TEST_F(DriverTest, BeginFrameSetsUpTheProjectionAndBlending) {
    EXPECT_EQ(gl.viewport[2], kWidth);
    EXPECT_EQ(gl.viewport[3], kHeight);
    EXPECT_EQ(gl.ortho[1], kWidth);
    // The kept framebuffer stores the top row first: GL rows grow with y.
    EXPECT_EQ(gl.ortho[2], 0);
    EXPECT_EQ(gl.ortho[3], kHeight);
    EXPECT_TRUE(gl.IsEnabled(GL_BLEND));
    EXPECT_TRUE(gl.IsEnabled(GL_VERTEX_ARRAY));
    EXPECT_TRUE(gl.IsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_TRUE(gl.IsEnabled(GL_COLOR_ARRAY));
    EXPECT_FALSE(gl.IsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(gl.blendSource, static_cast<GLenum>(GL_ONE));
    EXPECT_EQ(gl.blendDestination, static_cast<GLenum>(GL_ONE_MINUS_SRC_ALPHA));
    EXPECT_EQ(graphics->Width(), kWidth);
    EXPECT_EQ(graphics->Height(), kHeight);

    Start(false);  // into the window: its bottom row is GL row 0
    EXPECT_EQ(gl.ortho[2], kHeight);
    EXPECT_EQ(gl.ortho[3], 0);
    EXPECT_TRUE(gl.IsEnabled(GL_BLEND));
}

// ---- surfaces ----

TEST_F(DriverTest, SurfacePixelsArePremultipliedByDepth) {
    gxtkSurface rgba(gl);
    rgba.SetPixels({200, 100, 50, 128, 255, 255, 255, 0}, 2, 1, 4);
    EXPECT_EQ(rgba.format, static_cast<unsigned>(GL_RGBA));
    const std::vector<unsigned char> expected{100, 50, 25, 128, 0, 0, 0, 0};
    EXPECT_EQ(rgba.pixels, expected);

    gxtkSurface greyAlpha(gl);
    greyAlpha.SetPixels({200, 128}, 1, 1, 2);
    EXPECT_EQ(greyAlpha.format, static_cast<unsigned>(GL_LUMINANCE_ALPHA));
    EXPECT_EQ(greyAlpha.pixels[0], 100);
    EXPECT_EQ(greyAlpha.pixels[1], 128);

    gxtkSurface rgb(gl);
    rgb.SetPixels({1, 2, 3}, 1, 1, 3);
    EXPECT_EQ(rgb.format, static_cast<unsigned>(GL_RGB));
    EXPECT_EQ(rgb.pixels, (std::vector<unsigned char>{1, 2, 3}));

    gxtkSurface grey(gl);
    grey.SetPixels({77}, 1, 1, 1);
    EXPECT_EQ(grey.format, static_cast<unsigned>(GL_LUMINANCE));
}

TEST_F(DriverTest, NonPowerOfTwoSizeIsRetriedRoundedUp) {
    gl.refuseNonPowerOfTwo = true;
    auto surface = graphics->CreateSurface(100, 60);
    ASSERT_EQ(gl.textureImages.size(), 2u);
    EXPECT_FALSE(gl.textureImages[0].accepted);
    EXPECT_EQ(gl.textureImages[1].width, 128);
    EXPECT_EQ(gl.textureImages[1].height, 64);
    EXPECT_FLOAT_EQ(surface->uScale, 1.0f / 128);
    EXPECT_FLOAT_EQ(surface->vScale, 1.0f / 64);
    graphics->DrawSurface(surface, 0, 0);
    EXPECT_FLOAT_EQ(graphics->Vertices()[2].u, 100.0f / 128);
    EXPECT_FLOAT_EQ(graphics->Vertices()[2].v, 60.0f / 64);
}

TEST_F(DriverTest, AStaleGlErrorDoesNotForceAPowerOfTwoTexture) {
    gl.pendingError = GL_INVALID_ENUM;
    auto surface = graphics->CreateSurface(100, 60);
    ASSERT_EQ(gl.textureImages.size(), 1u);
    EXPECT_FLOAT_EQ(surface->uScale, 1.0f / 100);
}

TEST_F(DriverTest, TexturesAreMadeLazilyOncePerContextGeneration) {
    ContextGeneration() = 0;
    auto surface = std::make_shared<gxtkSurface>(gl);
    surface->SetPixels(std::vector<unsigned char>(3 * 2 * 4, 255), 3, 2, 4);
    surface->Bind();
    EXPECT_EQ(gl.genTextureCalls, 0) << "no context yet";
    EXPECT_EQ(surface->textureGeneration, -1);

    ContextGeneration() = 1;
    surface->Bind();
    surface->Bind();
    EXPECT_EQ(gl.genTextureCalls, 1);
    ASSERT_EQ(gl.subImages.size(), 1u);
    EXPECT_EQ(gl.unpackAlignment, 1);
    EXPECT_EQ(gl.textureParameters[surface->texture][GL_TEXTURE_MAG_FILTER], GL_NEAREST);
    EXPECT_EQ(gl.textureParameters[surface->texture][GL_TEXTURE_MIN_FILTER], GL_NEAREST);
    EXPECT_EQ(gl.textureParameters[surface->texture][GL_TEXTURE_WRAP_S], GL_CLAMP_TO_EDGE);
    EXPECT_EQ(gl.textureParameters[surface->texture][GL_TEXTURE_WRAP_T], GL_CLAMP_TO_EDGE);

    ContextGeneration() = 2;  // a new window: the pixel copy comes back as a new texture
    surface->Bind();
    EXPECT_EQ(gl.genTextureCalls, 2);
    EXPECT_EQ(gl.subImages.size(), 2u);
    EXPECT_EQ(surface->textureGeneration, 2);
    EXPECT_TRUE(gl.deletedTextures.empty()) << "textures of an old context are not deleted";
    surface->Discard();
    EXPECT_EQ(gl.deletedTextures.size(), 1u);
    EXPECT_TRUE(surface->pixels.empty());
}

TEST_F(DriverTest, MissingImageFileGivesNoSurface) {
    EXPECT_EQ(graphics->LoadSurface("/nonexistent/zrb/image.png"), nullptr);
    gxtkSurface surface(gl);
    EXPECT_FALSE(graphics->LoadSurfaceInto(surface, "/nonexistent/zrb/image.png"));
}

// ---- pixels ----

TEST_F(DriverTest, ReadPixelsFlipsRowsAndFlushesFirst) {
    Start(false);
    // GL pixel (x, y from the bottom) holds 0xFF000000 | y << 8 | x.
    gl.framebufferPixel = [](int x, int y) { return 0xFF000000u | static_cast<uint32_t>(y) << 8 | x; };
    graphics->DrawRect(0, 0, 1, 1);
    std::vector<int> pixels(2 + 3 * 10, 0);
    graphics->ReadPixels(pixels, 5, 100, 4, 3, 2, 10);
    EXPECT_EQ(gl.DrawCount(), 1);
    ASSERT_EQ(gl.reads.size(), 1u);
    EXPECT_EQ(gl.reads[0].y, kHeight - 100 - 3);
    const int bottomGlRow = kHeight - 103;
    // Topmost screen row (y = 100) is the highest GL row.
    EXPECT_EQ(pixels[2], static_cast<int>(0xFF000000u | (bottomGlRow + 2) << 8 | 5));
    EXPECT_EQ(pixels[2 + 10 + 3], static_cast<int>(0xFF000000u | (bottomGlRow + 1) << 8 | 8));
    EXPECT_EQ(pixels[2 + 20], static_cast<int>(0xFF000000u | bottomGlRow << 8 | 5));
    EXPECT_EQ(pixels[0], 0);
}

TEST_F(DriverTest, ReadPixelsInsideAFrameReadTheKeptFramebufferTopRowFirst) {
    gl.framebufferPixel = [](int x, int y) { return 0xFF000000u | static_cast<uint32_t>(y) << 8 | x; };
    graphics->DrawRect(0, 0, 1, 1);
    std::vector<int> pixels(3 * 4, 0);
    graphics->ReadPixels(pixels, 5, 100, 4, 3, 0, 4);
    EXPECT_EQ(gl.DrawCount(), 1);
    ASSERT_EQ(gl.reads.size(), 1u);
    EXPECT_EQ(gl.reads[0].framebuffer, gl.drawFramebuffer);
    EXPECT_NE(gl.reads[0].framebuffer, 0u);
    EXPECT_EQ(gl.reads[0].y, 100);
    EXPECT_EQ(pixels[0], static_cast<int>(0xFF000000u | 100 << 8 | 5));
    EXPECT_EQ(pixels[2 * 4 + 3], static_cast<int>(0xFF000000u | 102 << 8 | 8));

    graphics->EndFrame();  // after the frame: the window, bottom row first again
    graphics->ReadPixels(pixels, 5, 100, 4, 3, 0, 4);
    EXPECT_EQ(gl.reads.back().framebuffer, 0u);
    EXPECT_EQ(gl.reads.back().y, kHeight - 103);
}

TEST_F(DriverTest, ReadPixelsNeverWritesOutsideTheArray) {
    gl.framebufferPixel = [](int, int) { return 0xFFFFFFFFu; };
    std::vector<int> pixels(5, 0);
    graphics->ReadPixels(pixels, 0, 0, 4, 4, 3, 4);
    EXPECT_EQ(pixels, (std::vector<int>{0, 0, 0, -1, -1}));
}

TEST_F(DriverTest, WritePixelsStoresPremultipliedAndUploadsTheRectangle) {
    auto surface = graphics->CreateSurface(8, 4);
    const std::vector<int> source{static_cast<int>(0x80C86432u), static_cast<int>(0xFFFFFFFFu)};
    graphics->WritePixels(*surface, source, 2, 1, 2, 1, 0, 2);
    ASSERT_EQ(surface->pixels.size(), 8u * 4 * 4);
    const unsigned char* p = &surface->pixels[(1 * 8 + 2) * 4];
    EXPECT_EQ(p[0], 0xC8 * 0x80 / 255);
    EXPECT_EQ(p[1], 0x64 * 0x80 / 255);
    EXPECT_EQ(p[2], 0x32 * 0x80 / 255);
    EXPECT_EQ(p[3], 0x80);
    EXPECT_EQ(p[4], 255);
    ASSERT_EQ(gl.subImages.size(), 1u);
    EXPECT_EQ(gl.subImages[0].x, 2);
    EXPECT_EQ(gl.subImages[0].y, 1);
    EXPECT_EQ(gl.subImages[0].width, 2);
    EXPECT_EQ(gl.subImages[0].rowLength, 8) << "rows of the pixel copy lie the surface width apart";
    EXPECT_EQ(gl.subImages[0].firstRow[0], p[0]);
    EXPECT_EQ(gl.unpackRowLength, 0);
}

TEST_F(DriverTest, WritePixelsLeavesOtherSurfacesAndOutsideRectanglesAlone) {
    gxtkSurface rgb(gl);
    rgb.SetPixels({1, 2, 3}, 1, 1, 3);
    graphics->WritePixels(rgb, {-1}, 0, 0, 1, 1, 0, 1);
    EXPECT_EQ(rgb.pixels, (std::vector<unsigned char>{1, 2, 3}));
    auto surface = graphics->CreateSurface(4, 4);
    graphics->WritePixels(*surface, std::vector<int>(16, -1), 2, 2, 4, 4, 0, 4);
    EXPECT_TRUE(surface->pixels.empty());
}

}  // namespace

// DriverFixture: a driver over a recording GL, inside its first frame, for the
// drawing tests and the kept-frame tests; Start makes it anew on a GL with or
// without framebuffer objects.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "graphics/gxtkGraphics.h"
#include "tests/unit/graphics/FakeGl.h"

constexpr int kWidth = 640;
constexpr int kHeight = 475;

class DriverFixture : public ::testing::Test {
protected:
    void SetUp() override {
        savedGeneration_ = ContextGeneration();
        ContextGeneration() = 1;
        Start(true);
    }
    // A new driver inside its first frame, on a GL with or without framebuffer
    // objects; the counters start from there.
    void Start(bool framebufferObjects) {
        if (graphics) graphics->EndFrame();  // the window is bound again, as for a real new driver
        graphics.reset();
        gl.deletedFramebuffers.clear();
        gl.deletedTextures.clear();
        gl.textureImages.clear();
        gl.framebufferObjects = framebufferObjects;
        graphics = std::make_unique<gxtkGraphics>(
            [this](int* width, int* height, int* framebufferWidth, int* framebufferHeight) {
                *width = windowWidth, *height = windowHeight;
                *framebufferWidth = windowWidth, *framebufferHeight = windowHeight;
            },
            &gl);
        graphics->SetGarbageBackBuffer(false);
        graphics->SetCopiedFrames(false);
        graphics->BeginFrame();
        startImages = gl.textureImages;
        gl.textureImages.clear();
        gl.draws.clear();
        gl.clears.clear();
        gl.clearTargets.clear();
        gl.genTextureCalls = 0;
        gl.genFramebufferCalls = 0;
        gl.blits.clear();
        gl.copies.clear();
    }
    void TearDown() override {
        graphics.reset();
        ContextGeneration() = savedGeneration_;
    }

    // A 2 x 2 RGBA surface with its pixels, textured in generation 1.
    std::shared_ptr<gxtkSurface> SmallSurface() {
        auto surface = std::make_shared<gxtkSurface>(gl);
        surface->SetPixels(std::vector<unsigned char>(16, 255), 2, 2, 4);
        surface->Bind();
        return surface;
    }

    FakeGl gl;
    std::unique_ptr<gxtkGraphics> graphics;
    int windowWidth = kWidth, windowHeight = kHeight;
    std::vector<FakeTextureImage> startImages;  // textures made by the first BeginFrame

private:
    int savedGeneration_ = 0;
};

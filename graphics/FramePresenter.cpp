// FramePresenter: the choice of each frame's target, the presents of its
// damage, the scaled blit, the swaps after a resize and the counters.
//
// Sections: targets | presenting | kept framebuffer | copied frames
#include "graphics/FramePresenter.h"

#include <algorithm>
#include <cstdint>

#include "graphics/GlApi.h"
#include "graphics/GlResources.h"

namespace graphics {

namespace {

const uint16_t kQuadIndices[6] = {0, 1, 2, 0, 2, 3};

}  // namespace

FramePresenter::FramePresenter(GlApi& gl) : gl_(gl) {}

FramePresenter::~FramePresenter() {
    if (copied_.generation == ContextGeneration() && copied_.generation > 0) gl_.DeleteTextures(1, &copied_.texture);
    ReleaseKeptFramebuffer();
}

// ---- targets ----

bool FramePresenter::BeginFrame(int width, int height, int framebufferWidth, int framebufferHeight) {
    width_ = width;
    height_ = height;
    framebufferWidth_ = framebufferWidth;
    framebufferHeight_ = framebufferHeight;
    damage_.Reset(width_, height_);
    contentLost_ = !keepFrames_;
    targetBound_ = false;
    const int generation = ContextGeneration();
    if (copySubBufferGeneration_ != generation) {
        copySubBufferGeneration_ = generation;
        copySubBuffer_ = generation > 0 && gl_.LoadCopySubBuffer();
    }
    // At scale 1 with the partial copy, the never-swapped back buffer is the
    // kept frame: drawing goes there directly and the offscreen framebuffer
    // and its blit are skipped. Either target holds nothing the other drew.
    const bool direct = DirectFramePossible();
    if (direct != lastFrameDirect_ || (direct && directGeneration_ != generation)) {
        lastFrameDirect_ = direct;
        directGeneration_ = generation;
        if (direct) {
            BindWindowFramebuffer();
            ClearWhole(0, 0, 0, 0);  // what a new kept framebuffer holds
        }
        contentLost_ = true;
        fullPresentRequested_ = true;
    }
    // Most frames draw nothing: with the kept framebuffer ready, the target is
    // bound only when the frame first draws (the GL set-up alone was a tenth
    // of an idle update's cost).
    if (direct) {
        directFrame_ = true;
        return true;
    }
    if (KeptFramebufferReady() && !copiedFrames_ && !garbageBackBuffer_) {
        intoKeptFramebuffer_ = true;
        return true;
    }
    targetBound_ = true;
    gl_.Viewport(0, 0, framebufferWidth_, framebufferHeight_);
    if (garbageBackBuffer_) ClearWhole(kGarbageRed / 255.0f, kGarbageGreen / 255.0f, kGarbageBlue / 255.0f, 1);
    intoKeptFramebuffer_ = keepFrames_ && !copiedFrames_ && BindKeptFramebuffer();
    if (intoKeptFramebuffer_) {
        // The kept framebuffer has the drawing size; the window may be a multiple.
        gl_.Viewport(0, 0, width_, height_);
        gl_.Disable(GL_SCISSOR_TEST);  // a clip left from the last frame
    } else if (keepFrames_) {
        RestoreFrame();
    }
    return false;
}

void FramePresenter::BindTarget() {
    targetBound_ = true;
    if (directFrame_) {
        BindWindowFramebuffer();
        gl_.Viewport(0, 0, framebufferWidth_, framebufferHeight_);
    } else {
        gl_.BindFramebuffer(GL_FRAMEBUFFER, keptTarget_.framebuffer);
        gl_.Viewport(0, 0, width_, height_);
    }
}

// The kept framebuffer of this context and size exists: binding it is all a
// frame needs.
bool FramePresenter::KeptFramebufferReady() const {
    const int generation = ContextGeneration();
    return keepFrames_ && generation > 0 && framebufferCheckGeneration_ == generation && framebufferObjects_ &&
           keptTarget_.generation == generation && keptTarget_.width == width_ && keptTarget_.height == height_;
}

// Drawing straight into the back buffer: scale 1, the partial copy, a back
// buffer already of the window's size (after a resize it may lag until a swap).
bool FramePresenter::DirectFramePossible() const {
    return keepFrames_ && !copiedFrames_ && !garbageBackBuffer_ && ContextGeneration() > 0 && PresentsPartially() &&
           width_ > 0 && height_ > 0 && framebufferWidth_ == width_ && framebufferHeight_ == height_ &&
           swappedPresentsLeft_ == 0 &&
           (presentedWidth_ == 0 || (presentedWidth_ == framebufferWidth_ && presentedHeight_ == framebufferHeight_));
}

// The bound target, whatever clip the last frame left.
void FramePresenter::ClearWhole(float red, float green, float blue, float alpha) {
    gl_.Disable(GL_SCISSOR_TEST);
    gl_.ClearColor(red, green, blue, alpha);
    gl_.Clear(GL_COLOR_BUFFER_BIT);
}

// Framebuffer objects exist only where their functions were loaded.
void FramePresenter::BindWindowFramebuffer() {
    if (framebufferCheckGeneration_ == ContextGeneration() && framebufferObjects_) {
        gl_.BindFramebuffer(GL_FRAMEBUFFER, 0);
    }
}

// ---- presenting ----

void FramePresenter::EndFrame() {
    damage_.SetClip(false, {});
    if (fullPresentRequested_ || swappedPresentsLeft_ > 0) damage_.AddAll();
    fullPresentRequested_ = false;
    if (directFrame_) {
        PresentDirectFrame();
        return;
    }
    if (intoKeptFramebuffer_) {
        PresentKeptFramebuffer();
        return;
    }
    // The fallback path, as it always was: every frame copied and swapped whole.
    swapNeeded_ = true;
    if (keepFrames_) CaptureFrame();
    ++presentCount_;
    presentedPixels_ += static_cast<long long>(framebufferWidth_) * framebufferHeight_;
}

// The back buffer holds the whole frame: the changed rectangles go to the front.
void FramePresenter::PresentDirectFrame() {
    directFrame_ = false;
    swapNeeded_ = false;
    if (damage_.Empty()) return;
    presentedWidth_ = framebufferWidth_;
    presentedHeight_ = framebufferHeight_;
    for (int i = 0; i < damage_.Count(); ++i) {
        const DamageRect& r = damage_[i];
        gl_.CopySubBuffer(r.left, framebufferHeight_ - r.bottom, r.Width(), r.Height());
    }
    presentedPixels_ += damage_.Area();
    ++presentCount_;
}

// Copies what the frame changed to the window, turned upright and scaled by
// whole pixels, and leaves the window's framebuffer bound. With the partial
// copy the changed rectangles go straight to the front; without it the whole
// frame goes to the back buffer for the host's swap.
void FramePresenter::PresentKeptFramebuffer() {
    const bool anything = !damage_.Empty();
    intoKeptFramebuffer_ = false;
    swapNeeded_ = false;
    if (!anything && !targetBound_) return;  // nothing drawn, nothing to show: the GL was never touched
    if (anything) {
        const int s = WindowScale();
        const int h = framebufferHeight_;
        gl_.Disable(GL_SCISSOR_TEST);  // the blit obeys the clip
        gl_.BindFramebuffer(GL_READ_FRAMEBUFFER, keptTarget_.framebuffer);
        gl_.BindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        if (framebufferWidth_ != presentedWidth_ || framebufferHeight_ != presentedHeight_) {
            if (presentedWidth_ != 0) swappedPresentsLeft_ = 3;
            presentedWidth_ = framebufferWidth_;
            presentedHeight_ = framebufferHeight_;
        }
        if (PresentsPartially() && swappedPresentsLeft_ == 0) {
            for (int i = 0; i < damage_.Count(); ++i) {
                const DamageRect& r = damage_[i];
                gl_.BlitFramebuffer(r.left, r.top, r.right, r.bottom, r.left * s, h - r.top * s, r.right * s,
                                    h - r.bottom * s, GL_COLOR_BUFFER_BIT, GL_NEAREST);
            }
            for (int i = 0; i < damage_.Count(); ++i) {
                const DamageRect& r = damage_[i];
                gl_.CopySubBuffer(r.left * s, h - r.bottom * s, r.Width() * s, r.Height() * s);
            }
            presentedPixels_ += damage_.Area() * s * s;
        } else {
            const int w = keptTarget_.width, kh = keptTarget_.height;
            gl_.BlitFramebuffer(0, 0, w, kh, 0, h, w * s, h - kh * s, GL_COLOR_BUFFER_BIT, GL_NEAREST);
            swapNeeded_ = true;
            if (swappedPresentsLeft_ > 0) --swappedPresentsLeft_;
            presentedPixels_ += static_cast<long long>(framebufferWidth_) * framebufferHeight_;
        }
        ++presentCount_;
    }
    gl_.BindFramebuffer(GL_FRAMEBUFFER, 0);
}

int FramePresenter::WindowScale() const {
    if (width_ <= 0 || height_ <= 0) return 1;
    return std::max(1, std::min(framebufferWidth_ / width_, framebufferHeight_ / height_));
}

// ---- kept framebuffer ----

// Binds the kept framebuffer for this frame, making it first when the context
// or the size is new; false when the GL has none (the copy path is used then).
bool FramePresenter::BindKeptFramebuffer() {
    const int generation = ContextGeneration();
    if (generation == 0 || width_ <= 0 || height_ <= 0) return false;
    if (framebufferCheckGeneration_ != generation) {
        framebufferCheckGeneration_ = generation;
        framebufferObjects_ = gl_.LoadFramebufferObjects();
    }
    if (!framebufferObjects_) return false;
    if (keptTarget_.generation == generation && keptTarget_.width == width_ && keptTarget_.height == height_) {
        gl_.BindFramebuffer(GL_FRAMEBUFFER, keptTarget_.framebuffer);
        return true;
    }
    if (MakeKeptFramebuffer()) return true;
    framebufferObjects_ = false;  // refused once: copy frames in this context
    return false;
}

// A drawing-sized texture behind a framebuffer object, cleared to what a
// fresh back buffer holds on drivers that keep pixels (zeros), left bound.
bool FramePresenter::MakeKeptFramebuffer() {
    ReleaseKeptFramebuffer();
    KeptFramebuffer target;
    // Unsized RGBA with BGRA pixels lets the GL pick the window's own pixel
    // order, so the blit needs no conversion. Of a power-of-two texture only
    // the lower-left drawing-sized corner is used.
    if (!MakeTexture(gl_, &target.texture, width_, height_, GL_RGBA, GL_BGRA).accepted) {
        gl_.DeleteTextures(1, &target.texture);
        return false;
    }
    gl_.GenFramebuffers(1, &target.framebuffer);
    gl_.BindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    gl_.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target.texture, 0);
    if (gl_.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        gl_.BindFramebuffer(GL_FRAMEBUFFER, 0);
        gl_.DeleteFramebuffers(1, &target.framebuffer);
        gl_.DeleteTextures(1, &target.texture);
        return false;
    }
    ClearWhole(0, 0, 0, 0);
    target.generation = ContextGeneration();
    target.width = width_;
    target.height = height_;
    keptTarget_ = target;
    contentLost_ = true;
    fullPresentRequested_ = true;
    return true;
}

void FramePresenter::ReleaseKeptFramebuffer() {
    if (keptTarget_.generation == ContextGeneration() && keptTarget_.generation > 0) {
        gl_.DeleteFramebuffers(1, &keptTarget_.framebuffer);
        gl_.DeleteTextures(1, &keptTarget_.texture);
    }
    keptTarget_ = KeptFramebuffer();
}

// ---- copied frames ----

// Copies the finished back buffer into a texture of this context.
void FramePresenter::CaptureFrame() {
    const int generation = ContextGeneration();
    if (generation == 0 || framebufferWidth_ <= 0 || framebufferHeight_ <= 0) return;
    if (copied_.generation != generation || copied_.width != framebufferWidth_ ||
        copied_.height != framebufferHeight_) {
        if (copied_.generation == generation) gl_.DeleteTextures(1, &copied_.texture);
        copied_ = CopiedFrame();
        // BGRA pixels: the GL may then keep the window's pixel order.
        const TextureStorage storage =
            MakeTexture(gl_, &copied_.texture, framebufferWidth_, framebufferHeight_, GL_RGBA, GL_BGRA);
        copied_.textureWidth = storage.width;
        copied_.textureHeight = storage.height;
        copied_.generation = generation;
        copied_.width = framebufferWidth_;
        copied_.height = framebufferHeight_;
    } else {
        gl_.BindTexture(GL_TEXTURE_2D, copied_.texture);
    }
    gl_.CopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, copied_.width, copied_.height);
    copied_.valid = true;
}

// Puts the last finished frame back, texel for pixel, before anything is drawn,
// so the back buffer's content after the swap never shows. The quad goes out
// with its own projection and arrays; the driver sets up its own afterwards.
void FramePresenter::RestoreFrame() {
    gl_.Disable(GL_SCISSOR_TEST);
    const int generation = ContextGeneration();
    if (generation == 0) return;
    const bool usable = copied_.valid && copied_.generation == generation && copied_.width == framebufferWidth_ &&
                        copied_.height == framebufferHeight_;
    if (!usable) {
        contentLost_ = true;
        ClearWhole(0, 0, 0, 0);  // what a fresh back buffer holds on drivers that keep pixels
        return;
    }
    const float u = static_cast<float>(copied_.width) / static_cast<float>(copied_.textureWidth);
    const float v = static_cast<float>(copied_.height) / static_cast<float>(copied_.textureHeight);
    const float w = static_cast<float>(width_), h = static_cast<float>(height_);
    // Texture row 0 is the bottom of the screen.
    const float corners[4][4] = {{0, 0, 0, v}, {w, 0, u, v}, {w, h, u, 0}, {0, h, 0, 0}};
    for (int i = 0; i < 4; ++i) {
        restoreQuad_[i] = {corners[i][0], corners[i][1], corners[i][2], corners[i][3], {255, 255, 255, 255}};
    }
    gl_.MatrixMode(GL_PROJECTION);
    gl_.LoadIdentity();
    gl_.Ortho(0, width_, height_, 0, -1, 1);
    gl_.MatrixMode(GL_MODELVIEW);
    gl_.LoadIdentity();
    UseVertexArrays(gl_, &restoreQuad_[0]);

    gl_.Disable(GL_BLEND);
    gl_.Enable(GL_TEXTURE_2D);
    gl_.BindTexture(GL_TEXTURE_2D, copied_.texture);
    gl_.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    gl_.DrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_SHORT, kQuadIndices);
    gl_.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    gl_.Disable(GL_TEXTURE_2D);
    gl_.Enable(GL_BLEND);
}

}  // namespace graphics

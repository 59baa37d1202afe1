// FramePresenter: where a frame is drawn and how it reaches the window. The
// driver asks it for this frame's target, draws into it and hands the frame
// back at its end; the presenter never sees the driver's batch. Relies on
// GlApi, the shared texture set-up and the damage list.
//
// Kept frames: frames that draw only part of the screen keep the rest on every
// driver, whatever the back buffer holds after a swap. There are three targets:
// - at window scale 1 with the partial copy, the never-swapped back buffer
//   itself (the direct frame);
// - where the GL has framebuffer objects, a kept offscreen texture that the
//   end of the frame blits to the window, blown up with nearest-neighbour
//   pixels when the window is an integer multiple of the drawing size;
// - elsewhere the back buffer, into which the last finished frame (copied
//   into a texture at its end) is drawn back first.
//
// Presenting: a frame shows only what it drew. The driver adds each
// primitive's bounds to the frame's damage; the end of the frame copies just
// those rectangles to the window (glXCopySubBufferMESA, the back buffer is
// then never swapped), or, where that is missing, the whole frame for a swap;
// a frame that drew nothing presents nothing.
#pragma once

#include "graphics/DamageList.h"
#include "graphics/Vertex.h"

class GlApi;

namespace graphics {

class FramePresenter {
public:
    explicit FramePresenter(GlApi& gl);
    ~FramePresenter();
    FramePresenter(const FramePresenter&) = delete;
    FramePresenter& operator=(const FramePresenter&) = delete;

    // ---- for the driver, once a frame ----

    // Chooses this frame's target for the drawing size (window units) and the
    // window's framebuffer size (pixels). True: the target is bound later, by
    // BindTarget, when the frame first draws. False: it is bound now, with its
    // viewport, and a copied frame has been drawn back into it.
    bool BeginFrame(int width, int height, int framebufferWidth, int framebufferHeight);
    // Binds the target chosen by BeginFrame and sets its viewport.
    void BindTarget();
    // The frame's damage: what the driver drew, in window units.
    DamageList& Damage() { return damage_; }
    // Shows the frame: the changed rectangles, the whole frame for a swap, or
    // nothing. Leaves the window's framebuffer bound if the GL was touched.
    void EndFrame();

    // True between BeginFrame and EndFrame while drawing goes to the kept
    // framebuffer object rather than the back buffer. Its rows run top to
    // bottom (GL y grows downwards), so that the blit to the window, which
    // stores rows the other way on many drivers, flips nothing.
    bool DrawingIntoKeptFramebuffer() const { return intoKeptFramebuffer_; }

    // ---- options ----

    // Kept frames: on by default. Garbage back buffer: fill the back buffer with
    // a loud colour at every BeginFrame before the kept frame is restored (only
    // test programs switch it on), to prove nothing depends on what a swap
    // leaves behind. Copied frames: keep frames by the copy even where
    // framebuffer objects exist, so that path can be checked on any GL.
    void SetKeepFrames(bool keep) { keepFrames_ = keep; }
    void SetGarbageBackBuffer(bool garbage) { garbageBackBuffer_ = garbage; }
    void SetCopiedFrames(bool copied) { copiedFrames_ = copied; }
    static constexpr float kGarbageRed = 255, kGarbageGreen = 0, kGarbageBlue = 255;
    // Partial presents where the window system offers them (on by default);
    // off, every presented frame is copied whole and swapped.
    void SetPartialPresent(bool partial) { partialPresent_ = partial; }

    // ---- state for the host ----

    // After EndFrame: true when the host must swap buffers to show the frame.
    bool SwapNeeded() const { return swapNeeded_; }
    // The window lost its pixels (exposed, restored, resized): the next
    // EndFrame presents the whole frame.
    void RequestFullPresent() { fullPresentRequested_ = true; }
    // Between BeginFrame and EndFrame: the kept frame starts empty (first
    // frame, new context, new size), so whatever skips unchanged drawing must
    // draw everything this frame.
    bool FrameContentLost() const { return contentLost_; }
    const DamageList& FrameDamage() const { return damage_; }
    bool PresentsPartially() const { return copySubBuffer_ && partialPresent_; }
    // Counters for benchmarks: frames presented and window pixels copied.
    long long PresentCount() const { return presentCount_; }
    long long PresentedPixels() const { return presentedPixels_; }

private:
    bool KeptFramebufferReady() const;
    bool DirectFramePossible() const;
    void BindWindowFramebuffer();
    void ClearWhole(float red, float green, float blue, float alpha);
    bool BindKeptFramebuffer();
    bool MakeKeptFramebuffer();
    void ReleaseKeptFramebuffer();
    void PresentDirectFrame();
    void PresentKeptFramebuffer();
    int WindowScale() const;
    void CaptureFrame();
    void RestoreFrame();

    GlApi& gl_;
    int width_ = 0, height_ = 0;                        // drawing units
    int framebufferWidth_ = 0, framebufferHeight_ = 0;  // window pixels

    // The back buffer as last finished, for drawing it back next frame.
    struct CopiedFrame {
        unsigned int texture = 0;
        int generation = -1;        // context the texture belongs to; -1 none
        int width = 0, height = 0;  // framebuffer pixels captured
        int textureWidth = 0, textureHeight = 0;
        bool valid = false;
    };
    CopiedFrame copied_;
    gxtkVertex restoreQuad_[4] = {};  // the copied frame's corners, drawn with its own arrays
    // The offscreen target, rows top first.
    struct KeptFramebuffer {
        unsigned int framebuffer = 0;
        unsigned int texture = 0;
        int generation = -1;        // context both belong to; -1 none
        int width = 0, height = 0;  // drawing units kept
    };
    KeptFramebuffer keptTarget_;
    int framebufferCheckGeneration_ = -1;  // context whose framebuffer support was asked
    bool framebufferObjects_ = false;
    bool intoKeptFramebuffer_ = false;
    // Drawing goes straight to the never-swapped back buffer this frame.
    bool directFrame_ = false;
    bool lastFrameDirect_ = false;
    int directGeneration_ = -1;  // context the back buffer was cleared in
    bool targetBound_ = false;   // this frame has touched the GL
    bool keepFrames_ = true;
    bool garbageBackBuffer_ = false;
    bool copiedFrames_ = false;

    DamageList damage_;
    int copySubBufferGeneration_ = -1;  // context whose partial copy support was asked
    bool copySubBuffer_ = false;
    bool partialPresent_ = true;
    bool fullPresentRequested_ = true;
    // After the window's size changes, the GL's back buffer may keep its old
    // size until a swap renews it: the next few frames go out whole by swapping.
    int presentedWidth_ = 0, presentedHeight_ = 0;
    int swappedPresentsLeft_ = 0;
    bool swapNeeded_ = true;
    bool contentLost_ = false;
    long long presentCount_ = 0;
    long long presentedPixels_ = 0;
};

}  // namespace graphics

// c_Image: a driver surface cut into frames, with a handle (the point drawn at
// the given position) and flags; c_Frame: a frame's corner in the surface.
// LoadImage and GrabImage make images; the set-up raises runtime errors for an
// image set up twice and for frames that leave the surface.
#pragma once

#include <memory>
#include <vector>

#include "runtime/Object.h"
#include "runtime/String.h"

class gxtkSurface;
class c_GraphicsContext;

struct c_Frame {
    int x = 0;
    int y = 0;
};

class c_Image : public Object {
public:
    // Flag bits.
    static constexpr int CentreHandle = 1;
    static constexpr int PadX = 2;
    static constexpr int PadY = 4;
    static constexpr int WholeSurface = 65536;  // set by the set-up only

    // frameCount frames of (surface width / frameCount) x surface height side by side.
    c_Image& Init(std::shared_ptr<gxtkSurface> imageSurface, int frameCount, int imageFlags);
    // frameCount cells of cellWidth x cellHeight read left to right from (x, y)
    // inside the source area, wrapping one cell height lower at its right edge.
    c_Image& Init(std::shared_ptr<gxtkSurface> imageSurface, int x, int y, int cellWidth, int cellHeight,
                  int frameCount, int imageFlags, std::shared_ptr<c_Image> sourceImage, int sourceX, int sourceY,
                  int sourceWidth, int sourceHeight);

    void SetHandle(float x, float y) {
        handleX = x;
        handleY = y;
    }
    int Width() const { return width; }
    int Height() const { return height; }
    int FrameCount() const { return static_cast<int>(frames.size()); }

    std::shared_ptr<gxtkSurface> surface;
    int width = 0;
    int height = 0;
    std::vector<c_Frame> frames;
    int flags = 0;
    float handleX = 0;
    float handleY = 0;
    std::shared_ptr<c_Image> source;

private:
    void ApplyFlags(int imageFlags);
};

// Flags LoadImage callers pass by default (process-wide, 0).
int& DefaultImageFlags();

// A one-frame image from a data path, or none when the file can't be decoded
// or there is no graphics device.
std::shared_ptr<c_Image> LoadImage(c_GraphicsContext& context, const String& path, int flags);
// frameCount frames side by side.
std::shared_ptr<c_Image> LoadImage(c_GraphicsContext& context, const String& path, int frameCount, int flags);
// frameCount cells of frameWidth x frameHeight, left to right, top to bottom.
std::shared_ptr<c_Image> LoadImage(c_GraphicsContext& context, const String& path, int frameWidth, int frameHeight,
                                   int frameCount, int flags);
// A new image over part of a one-frame image's surface (none for a multi-frame image).
std::shared_ptr<c_Image> GrabImage(const std::shared_ptr<c_Image>& image, int x, int y, int width, int height,
                                   int frameCount, int flags);

// Image set-up (frames, padding, handle, the whole-surface flag) and the
// loaders that make images from data paths through the graphics device.
#include "graphics/Image.h"

#include "graphics/GraphicsContext.h"
#include "graphics/gxtkGraphics.h"
#include "io/DataPath.h"
#include "runtime/RuntimeError.h"

int& DefaultImageFlags() {
    static int flags = 0;
    return flags;
}

c_Image& c_Image::Init(std::shared_ptr<gxtkSurface> imageSurface, int frameCount, int imageFlags) {
    if (surface) RuntimeError("Image already initialized");
    if (!imageSurface || frameCount < 1) RuntimeError("Image frame outside surface");
    surface = std::move(imageSurface);
    width = surface->Width() / frameCount;
    height = surface->Height();
    frames.assign(static_cast<size_t>(frameCount), c_Frame());
    for (int i = 0; i < frameCount; ++i) frames[static_cast<size_t>(i)].x = i * width;
    ApplyFlags(imageFlags);
    return *this;
}

c_Image& c_Image::Init(std::shared_ptr<gxtkSurface> imageSurface, int x, int y, int cellWidth, int cellHeight,
                       int frameCount, int imageFlags, std::shared_ptr<c_Image> sourceImage, int sourceX, int sourceY,
                       int sourceWidth, int sourceHeight) {
    if (surface) RuntimeError("Image already initialized");
    if (!imageSurface || frameCount < 1 || cellWidth <= 0 || cellHeight <= 0) {
        RuntimeError("Image frame outside surface");
    }
    surface = std::move(imageSurface);
    source = std::move(sourceImage);
    width = cellWidth;
    height = cellHeight;
    frames.assign(static_cast<size_t>(frameCount), c_Frame());
    for (int i = 0; i < frameCount; ++i) {
        if (x + cellWidth > sourceWidth) {
            x = 0;
            y += cellHeight;
        }
        if (x + cellWidth > sourceWidth || y + cellHeight > sourceHeight) RuntimeError("Image frame outside surface");
        frames[static_cast<size_t>(i)] = c_Frame{x + sourceX, y + sourceY};
        x += cellWidth;
    }
    ApplyFlags(imageFlags);
    return *this;
}

void c_Image::ApplyFlags(int imageFlags) {
    flags = imageFlags;
    if (flags & PadX) {
        for (c_Frame& frame : frames) frame.x += 1;
        width -= 2;
    }
    if (flags & PadY) {
        for (c_Frame& frame : frames) frame.y += 1;
        height -= 2;
    }
    if (flags & CentreHandle) {
        SetHandle(static_cast<float>(width) * 0.5f, static_cast<float>(height) * 0.5f);
        flags &= ~CentreHandle;
    }
    if (frames.size() == 1 && frames[0].x == 0 && frames[0].y == 0 && width == surface->Width() &&
        height == surface->Height()) {
        flags |= WholeSurface;
    }
}

namespace {

std::shared_ptr<gxtkSurface> LoadSurfaceFor(c_GraphicsContext& context, const String& path) {
    if (!context.device) return nullptr;
    // A failed load is not reported: the caller decides what a missing image means.
    return context.device->LoadSurface(ToDataPath(path));
}

}  // namespace

std::shared_ptr<c_Image> LoadImage(c_GraphicsContext& context, const String& path, int flags) {
    return LoadImage(context, path, 1, flags);
}

std::shared_ptr<c_Image> LoadImage(c_GraphicsContext& context, const String& path, int frameCount, int flags) {
    std::shared_ptr<gxtkSurface> surface = LoadSurfaceFor(context, path);
    if (!surface) return nullptr;
    auto image = std::make_shared<c_Image>();
    image->Init(std::move(surface), frameCount, flags);
    return image;
}

std::shared_ptr<c_Image> LoadImage(c_GraphicsContext& context, const String& path, int frameWidth, int frameHeight,
                                   int frameCount, int flags) {
    std::shared_ptr<gxtkSurface> surface = LoadSurfaceFor(context, path);
    if (!surface) return nullptr;
    auto image = std::make_shared<c_Image>();
    const int surfaceWidth = surface->Width(), surfaceHeight = surface->Height();
    image->Init(std::move(surface), 0, 0, frameWidth, frameHeight, frameCount, flags, nullptr, 0, 0, surfaceWidth,
                surfaceHeight);
    return image;
}

std::shared_ptr<c_Image> GrabImage(const std::shared_ptr<c_Image>& image, int x, int y, int width, int height,
                                   int frameCount, int flags) {
    if (!image || image->frames.size() != 1) return nullptr;
    auto grabbed = std::make_shared<c_Image>();
    grabbed->Init(image->surface, x, y, width, height, frameCount, flags, image, image->frames[0].x, image->frames[0].y,
                  image->width, image->height);
    return grabbed;
}

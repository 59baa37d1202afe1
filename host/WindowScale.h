// Window scale: the window shows the tracker's 640 x 475 drawing at 1x to 4x
// with whole pixels. These helpers choose a scale that fits the screen and map
// window coordinates back to drawing units; the tracker never learns the scale.
#pragma once

namespace window_scale {
constexpr int kMinScale = 1;
constexpr int kMaxScale = 4;

// The largest scale, up to `wanted` and at least 1, at which a drawing of
// width x height fits inside an area of areaWidth x areaHeight (0 = unknown
// area, no limit).
int Fit(int wanted, int width, int height, int areaWidth, int areaHeight);
// The first window's scale: the monitor's content scale rounded down when it
// asks for HiDPI (2 or more), else 1; never larger than the screen.
int Initial(float contentScale, int width, int height, int screenWidth, int screenHeight);
// A window coordinate in drawing units.
inline float ToDrawing(double windowCoordinate, int scale) {
    return static_cast<float>(windowCoordinate / (scale < 1 ? 1 : scale));
}
}  // namespace window_scale

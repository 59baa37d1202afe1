// Window scale: fitting a scale to the screen or to what the window manager gave.
#include "host/WindowScale.h"

#include <algorithm>
#include <cmath>

namespace window_scale {

int Fit(int wanted, int width, int height, int areaWidth, int areaHeight) {
    int scale = std::clamp(wanted, kMinScale, kMaxScale);
    if (width <= 0 || height <= 0) return scale;
    if (areaWidth > 0) scale = std::min(scale, areaWidth / width);
    if (areaHeight > 0) scale = std::min(scale, areaHeight / height);
    return std::max(scale, kMinScale);
}

int Initial(float contentScale, int width, int height, int screenWidth, int screenHeight) {
    const int asked = contentScale >= 2 ? static_cast<int>(std::floor(std::min(contentScale, 4.0f))) : 1;
    return Fit(asked, width, height, screenWidth, screenHeight);
}

}  // namespace window_scale

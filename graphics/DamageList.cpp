// DamageList: clipping, rounding outward and merging of changed rectangles.
#include "graphics/DamageList.h"

#include <algorithm>
#include <cmath>

namespace graphics {
namespace {

DamageRect Union(const DamageRect& a, const DamageRect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

// A merge is taken when the union wastes no more than this many pixels over
// the two rectangles: a copy's round trip costs more than copying a few rows.
// The play cursor's two rows (old and new, 12 rows apart across the pattern,
// 302 wide) waste about 3300 and then go out in one copy.
constexpr long long kMergeWaste = 4096;

bool WorthMerging(const DamageRect& a, const DamageRect& b) {
    return Union(a, b).Area() <= a.Area() + b.Area() + kMergeWaste;
}

}  // namespace

void DamageList::Reset(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    count_ = 0;
    clipping_ = false;
}

void DamageList::Add(float left, float top, float right, float bottom) {
    if (!(left == left) || !(top == top) || !(right == right) || !(bottom == bottom)) return;  // NaN
    const float x0 = std::min(left, right), x1 = std::max(left, right);
    const float y0 = std::min(top, bottom), y1 = std::max(top, bottom);
    auto toInt = [](float value) { return static_cast<int>(std::clamp(value, -1e6f, 1e6f)); };
    DamageRect rect{toInt(std::floor(x0)), toInt(std::floor(y0)), toInt(std::ceil(x1)), toInt(std::ceil(y1))};
    // Lines and points have no area but light a pixel.
    rect.right = std::max(rect.right, rect.left + 1);
    rect.bottom = std::max(rect.bottom, rect.top + 1);
    DamageRect bounds{0, 0, width_, height_};
    if (clipping_) {
        bounds = {std::max(0, clip_.left), std::max(0, clip_.top), std::min(width_, clip_.right),
                  std::min(height_, clip_.bottom)};
    }
    rect = {std::max(rect.left, bounds.left), std::max(rect.top, bounds.top), std::min(rect.right, bounds.right),
            std::min(rect.bottom, bounds.bottom)};
    if (rect.Width() <= 0 || rect.Height() <= 0) return;
    Insert(rect);
}

void DamageList::Insert(DamageRect rect) {
    // Merging can make the union worth merging with another: repeat until stable.
    for (bool merged = true; merged;) {
        merged = false;
        for (int i = 0; i < count_; ++i) {
            if (WorthMerging(rects_[i], rect)) {
                rect = Union(rects_[i], rect);
                RemoveAt(i);
                merged = true;
                break;
            }
        }
    }
    if (count_ == kMaxRects) {
        int best = 0;
        long long bestGrowth = -1;
        for (int i = 0; i < count_; ++i) {
            const long long growth = Union(rects_[i], rect).Area() - rects_[i].Area();
            if (bestGrowth < 0 || growth < bestGrowth) {
                best = i;
                bestGrowth = growth;
            }
        }
        rect = Union(rects_[best], rect);
        RemoveAt(best);
        Insert(rect);
        return;
    }
    rects_[count_++] = rect;
}

void DamageList::RemoveAt(int index) {
    for (int i = index; i + 1 < count_; ++i) rects_[i] = rects_[i + 1];
    --count_;
}

long long DamageList::Area() const {
    long long area = 0;
    for (int i = 0; i < count_; ++i) area += rects_[i].Area();
    return area;
}

}  // namespace graphics

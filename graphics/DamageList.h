// DamageList: the parts of the window one frame changed, as a few rectangles
// in window units (top-left origin, right and bottom exclusive). Rectangles
// that lie close together are merged, so the list stays short: each one costs
// a copy to the window, and each copy costs the window system a round trip.
#pragma once

namespace graphics {

struct DamageRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    long long Area() const { return static_cast<long long>(Width()) * Height(); }
};

class DamageList {
public:
    static constexpr int kMaxRects = 4;

    // Rectangles are clipped to (0, 0, width, height); clears the list.
    void Reset(int width, int height);
    void Clear() { count_ = 0; }
    // Any corner order; fractional edges widen to whole pixels.
    void Add(float left, float top, float right, float bottom);
    void AddAll() { Add(0, 0, static_cast<float>(width_), static_cast<float>(height_)); }
    // Only what lies inside the clip rectangle counts while clip is set.
    void SetClip(bool clip, const DamageRect& rect) {
        clipping_ = clip;
        clip_ = rect;
    }

    bool Empty() const { return count_ == 0; }
    int Count() const { return count_; }
    const DamageRect& operator[](int index) const { return rects_[index]; }
    long long Area() const;

private:
    void Insert(DamageRect rect);
    void RemoveAt(int index);

    DamageRect rects_[kMaxRects];
    int count_ = 0;
    int width_ = 0, height_ = 0;
    bool clipping_ = false;
    DamageRect clip_;
};

}  // namespace graphics

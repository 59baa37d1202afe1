// Vector conversion where SSE2 is there (it always is on x86-64): round with
// the default rounding mode (ties to even, as nearbyint) and saturate while
// packing, which equals clipping after rounding for every value.
#include "tools/render/FrameConversion.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace render {
namespace {
constexpr float kFullScale = 32768.0f;

int16_t ConvertOne(float scaled) {
    const float rounded = std::nearbyint(scaled);
    return static_cast<int16_t>(rounded > 32767.0f ? 32767.0f : rounded < -32768.0f ? -32768.0f : rounded);
}
}  // namespace

int ConvertToInt16(const float* in, int16_t* out, size_t count, float gain) {
    // Gain 1 multiplies by full scale alone, as the driver does.
    const float scale = gain == 1.0f ? kFullScale : gain * kFullScale;
    size_t i = 0;
    int peak = 0;
#if defined(__SSE2__)
    const __m128 factor = _mm_set1_ps(scale);
    // Clamping before the conversion keeps huge values from wrapping; the
    // bounds round to themselves, so the result equals clip-after-round.
    const __m128 high = _mm_set1_ps(32767.0f);
    const __m128 low = _mm_set1_ps(-32768.0f);
    __m128i peaks = _mm_setzero_si128();
    for (; i + 8 <= count; i += 8) {
        const __m128 a = _mm_max_ps(_mm_min_ps(_mm_mul_ps(_mm_loadu_ps(in + i), factor), high), low);
        const __m128 b = _mm_max_ps(_mm_min_ps(_mm_mul_ps(_mm_loadu_ps(in + i + 4), factor), high), low);
        const __m128i packed = _mm_packs_epi32(_mm_cvtps_epi32(a), _mm_cvtps_epi32(b));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), packed);
        // |x| as the larger of x and -x (saturating, so -32768 counts as 32767).
        peaks = _mm_max_epi16(peaks, _mm_max_epi16(packed, _mm_subs_epi16(_mm_setzero_si128(), packed)));
    }
    alignas(16) int16_t lanes[8];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), peaks);
    for (int16_t lane : lanes) peak = std::max(peak, static_cast<int>(lane));
#endif
    for (; i < count; ++i) {
        out[i] = ConvertOne(in[i] * scale);
        peak = std::max(peak, std::abs(static_cast<int>(out[i])));
    }
    return peak;
}

float FloatPeak(const float* in, size_t count) {
    float peak = 0.0f;
    for (size_t i = 0; i < count; ++i) peak = std::max(peak, std::fabs(in[i]));
    return peak;
}
}  // namespace render

// Float frames from the mixer to 16-bit samples: scaled by full scale (and a
// gain), rounded to nearest with ties to even, clipped to the 16-bit range.
// With gain 1 the result is bit for bit the driver's own conversion.
#pragma once

#include <cstddef>
#include <cstdint>

namespace render {
// Converts `count` samples and returns the largest magnitude written.
int ConvertToInt16(const float* in, int16_t* out, size_t count, float gain);

// The largest absolute float sample.
float FloatPeak(const float* in, size_t count);
}  // namespace render

// Source queries for the repeat proof. They go to the OpenAL context the
// loopback driver made current; the driver itself has no use for them.
#include "tools/render/SourceSnapshot.h"

#include <AL/al.h>
#include <AL/alext.h>

#include <cstring>

#include "audio/gxtkAudio.h"

namespace render {
namespace {
LPALGETSOURCEI64VSOFT ExactPositionQuery() {
    static const LPALGETSOURCEI64VSOFT query =
        alIsExtensionPresent("AL_SOFT_source_latency")
            ? reinterpret_cast<LPALGETSOURCEI64VSOFT>(alGetProcAddress("alGetSourcei64vSOFT"))
            : nullptr;
    return query;
}
}  // namespace

bool TakeOscillatorSnapshot(gxtkAudio& audio, OscillatorSnapshot& snapshot) {
    const LPALGETSOURCEI64VSOFT positionOf = ExactPositionQuery();
    if (!positionOf) return false;
    alGetError();  // an error left by an earlier call is not ours
    for (size_t i = 0; i < snapshot.size(); ++i) {
        SourceSnapshot& out = snapshot[i];
        out = SourceSnapshot{};
        const unsigned int source = audio.ChannelSource(static_cast<int>(i) + 1);
        if (source == 0) continue;  // never played
        alGetSourcei(source, AL_SOURCE_STATE, &out.state);
        alGetSourcei(source, AL_BUFFER, &out.buffer);
        alGetSourcei(source, AL_LOOPING, &out.looping);
        alGetSourcef(source, AL_GAIN, &out.gain);
        alGetSourcef(source, AL_PITCH, &out.pitch);
        ALint64SOFT position[2] = {0, 0};
        positionOf(source, AL_SAMPLE_OFFSET_LATENCY_SOFT, position);
        out.position = position[0];
        if (alGetError() != AL_NO_ERROR) return false;
    }
    return true;
}

bool IsPlaying(const SourceSnapshot& source) { return source.state == AL_PLAYING || source.state == AL_PAUSED; }

bool SameSnapshot(const OscillatorSnapshot& a, const OscillatorSnapshot& b) {
    for (size_t i = 0; i < a.size(); ++i) {
        const SourceSnapshot& x = a[i];
        const SourceSnapshot& y = b[i];
        if (!IsPlaying(x) && !IsPlaying(y)) continue;
        // Floats by their bits: -0 against 0 or a NaN must not pass as equal.
        if (x.state != y.state || x.buffer != y.buffer || x.looping != y.looping || x.position != y.position ||
            std::memcmp(&x.gain, &y.gain, sizeof x.gain) != 0 || std::memcmp(&x.pitch, &y.pitch, sizeof x.pitch) != 0)
            return false;
    }
    return true;
}
}  // namespace render

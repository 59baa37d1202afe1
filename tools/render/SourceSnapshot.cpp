// Source queries for the repeat proof, through the loopback driver's OpenAL
// table; the driver itself has no use for them. AL's header is read for its
// constants only.
#include "tools/render/SourceSnapshot.h"

#include <AL/al.h>

#include <cstring>

#include "audio/OpenAlApi.h"
#include "audio/gxtkAudio.h"

namespace render {

bool TakeOscillatorSnapshot(gxtkAudio& audio, OscillatorSnapshot& snapshot) {
    OpenAlApi& al = audio.Al();
    if (!al.CanReportExactOffsets()) return false;
    al.GetError();  // an error left by an earlier call is not ours
    for (size_t i = 0; i < snapshot.size(); ++i) {
        SourceSnapshot& out = snapshot[i];
        out = SourceSnapshot{};
        const unsigned int source = audio.ChannelSource(static_cast<int>(i) + 1);
        if (source == 0) continue;  // never played
        out.state = al.GetSourcei(source, AL_SOURCE_STATE);
        out.buffer = al.GetSourcei(source, AL_BUFFER);
        out.looping = al.GetSourcei(source, AL_LOOPING);
        out.gain = al.GetSourcef(source, AL_GAIN);
        out.pitch = al.GetSourcef(source, AL_PITCH);
        out.position = al.ExactSampleOffset(source);
        if (al.GetError() != AL_NO_ERROR) return false;
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

// Writes the tracker's waveform set into a folder: 16-bit mono PCM WAV files,
// each one looped cycle at a sample rate that makes its natural pitch middle C
// (64 samples at 16744 Hz = 261.625 Hz).
//
// WAV 01..03 sound oscillator A (a ramp) against oscillator B ("saw_64.wav"):
// B is the ramp inverted and shifted half a cycle, so with both restarted in
// phase the pair sums to a square-like wave at the written pitch, and B's PWM
// detune slides the edge to sweep the pulse width. (A mirror image in phase
// would cancel A instead.) Levels are set so that every selection that sounds
// on its own or as a pair lands within about 3 dB RMS of the others, and the
// loudest peak of a pair, even mid-sweep, stays near half of full scale so four
// channels summed seldom clip.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kCycle = 64;
constexpr int kSampleRate = 16744;
// Peak of the plain ramps and of the saw, as a share of full scale: the square
// they make together has this RMS level, the reference for the others.
constexpr double kUnit = 0.24;
// The bowed ramp is louder alone than a straight one yet, summed with the saw,
// only about 3 dB above the square: it sits between its two uses.
constexpr double kBowExponent = 0.7;
constexpr double kBowedPeak = 1.5 * kUnit;
// Solo waves (WAV 04 and 06) sit halfway between the pair and the bowed ramp.
constexpr double kSoloRms = kUnit * 1.19;
constexpr double kNoisePeak = 0.45;
// The noise loop is many cycles long so it is heard as noise, not as a buzz.
constexpr int kNoiseLength = kCycle * 64;

using Wave = std::vector<double>;  // share of full scale

void Put16(std::FILE* file, uint32_t value) {
    std::fputc(static_cast<int>(value & 0xFF), file);
    std::fputc(static_cast<int>((value >> 8) & 0xFF), file);
}

void Put32(std::FILE* file, uint32_t value) {
    Put16(file, value & 0xFFFF);
    Put16(file, value >> 16);
}

bool WriteWav(const std::string& path, const Wave& wave) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const uint32_t dataBytes = static_cast<uint32_t>(wave.size() * 2);
    std::fwrite("RIFF", 1, 4, file);
    Put32(file, 36 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, file);
    Put32(file, 16);
    Put16(file, 1);  // PCM
    Put16(file, 1);  // mono
    Put32(file, kSampleRate);
    Put32(file, kSampleRate * 2);
    Put16(file, 2);
    Put16(file, 16);
    std::fwrite("data", 1, 4, file);
    Put32(file, dataBytes);
    for (double value : wave) {
        const long sample = std::lround(value * 32767.0);
        Put16(file, static_cast<uint32_t>(static_cast<int16_t>(sample)) & 0xFFFF);
    }
    return std::fclose(file) == 0;
}

double Phase(int i) { return (i + 0.5) / kCycle; }  // centred, so ramps have no DC

Wave Make(double (*shape)(double), double peak) {
    Wave wave(kCycle);
    for (int i = 0; i < kCycle; ++i) wave[static_cast<size_t>(i)] = peak * shape(Phase(i));
    return wave;
}

// Scales a wave so its RMS level is `rms`.
Wave WithRms(Wave wave, double rms) {
    double sum = 0.0;
    for (double value : wave) sum += value * value;
    const double scale = rms / std::sqrt(sum / static_cast<double>(wave.size()));
    for (double& value : wave) value *= scale;
    return wave;
}

double Ramp(double p) { return 2.0 * p - 1.0; }
// A ramp bowed outward: quick away from the middle, slower towards the ends.
double RampB(double p) {
    const double x = 2.0 * p - 1.0;
    return std::copysign(std::pow(std::fabs(x), kBowExponent), x);
}
// A ramp in eight steps.
double RampC(double p) { return (std::floor(p * 8.0) + 0.5) / 4.0 - 1.0; }
// The ramp inverted and half a cycle on: Ramp(p) + Saw(p) is +-1, a square.
double Saw(double p) { return 1.0 - 2.0 * (p < 0.5 ? p + 0.5 : p - 0.5); }
double Triangle(double p) { return p < 0.25 ? 4.0 * p : p < 0.75 ? 2.0 - 4.0 * p : 4.0 * p - 4.0; }
// A quarter high, the rest low, levels chosen so the mean is zero.
double QuarterPulse(double p) { return p < 0.25 ? 1.0 : -1.0 / 3.0; }
double Zero(double) { return 0.0; }

Wave Noise() {
    Wave wave(kNoiseLength);
    uint32_t state = 0x2545F491u;  // fixed seed: the same file every build
    double sum = 0.0;
    for (double& value : wave) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        value = (state & 0xFFFF) / 32767.5 - 1.0;
        sum += value;
    }
    const double mean = sum / kNoiseLength;
    double peak = 0.0;
    for (double& value : wave) {
        value -= mean;
        peak = std::fmax(peak, std::fabs(value));
    }
    for (double& value : wave) value *= kNoisePeak / peak;
    return wave;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    const struct {
        const char* name;
        Wave wave;
    } files[] = {
        {"ramp_64.wav", Make(Ramp, kUnit)},
        {"ramp_b_64.wav", Make(RampB, kBowedPeak)},
        {"ramp_c_64.wav", Make(RampC, kUnit)},
        {"saw_64.wav", Make(Saw, kUnit)},
        {"fx2b.wav", WithRms(Make(QuarterPulse, 1.0), kSoloRms)},
        {"tri_64.wav", WithRms(Make(Triangle, 1.0), kSoloRms)},
        {"hnoise.wav", Noise()},
        {"zero_64.wav", Make(Zero, 0.0)},
    };
    for (const auto& file : files) {
        if (!WriteWav(folder + file.name, file.wave)) {
            std::fprintf(stderr, "cannot write %s%s\n", folder.c_str(), file.name);
            return 1;
        }
    }
    return 0;
}

// zrbtracker-render: plays a song file through the tracker's player over an
// offline audio device and writes the sound to a .wav, .flac or .ogg file.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "audio/gxtkAudio.h"
#include "tools/render/FrameConversion.h"
#include "tools/render/PassRender.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/SongRender.h"
#include "tools/render/SoundFileOutput.h"

namespace {
constexpr int kExitFailure = 1;
constexpr int64_t kProgressEveryTicks = render::kTicksPerSecond;
// -1 dBFS.
const double kNormalizedPeak = std::pow(10.0, -1.0 / 20.0);

int Fail(const std::string& subject, const std::string& message) {
    std::fprintf(stderr, "zrbtracker-render: %s%s%s\n", subject.c_str(), subject.empty() ? "" : ": ", message.c_str());
    return kExitFailure;
}

// True when both paths name one existing file: the export would replace the song.
bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {
    }, second{};
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

// An interrupted export removes its temporary files, then dies of the signal.
void OnTerminatingSignal(int signalNumber) {
    render::RemovePendingOutput();
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

// A signal inherited as ignored (nohup, a shell's background job) stays
// ignored: whoever started us asked for that.
void InstallSignalHandlers() {
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        struct sigaction current {};
        if (sigaction(signalNumber, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
        std::signal(signalNumber, OnTerminatingSignal);
    }
}

// Text for standard output that must arrive (--help, --version): a full or
// closed output is an error.
int PrintOrFail(const std::string& text) {
    std::fputs(text.c_str(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return Fail("", std::string("cannot write to standard output (") + std::strerror(errno) + ")");
    return 0;
}

// One line, rewritten in place: seconds of sound done and the share of the whole.
class ProgressLine {
public:
    ProgressLine(bool shown, int64_t totalTicks) : shown_(shown), totalTicks_(totalTicks) {}
    void Update(int64_t ticksDone) {
        if (!shown_ || (ticksDone / kProgressEveryTicks == shownStep_ && ticksDone != totalTicks_)) return;
        shownStep_ = ticksDone / kProgressEveryTicks;
        const double done = static_cast<double>(ticksDone) / render::kTicksPerSecond;
        const double total = static_cast<double>(totalTicks_) / render::kTicksPerSecond;
        std::fprintf(stderr, "\rrendering %.1f of %.1f s (%3.0f%%)", done, total, 100.0 * done / total);
        std::fflush(stderr);
    }
    void Finish() {
        if (shown_) std::fputs("\n", stderr);
    }

private:
    bool shown_;
    int64_t totalTicks_;
    int64_t shownStep_ = 0;
};

// One file to write: the full mix (channel 0) or one tracker channel alone.
struct Target {
    std::string path;
    int channel = 0;
    render::SoundFileOutput output;
    int peak = 0;  // largest 16-bit magnitude written
};

double Decibels(double level) { return level > 0.0 ? 20.0 * std::log10(level) : -INFINITY; }
}  // namespace

int main(int argc, char** argv) {
    render::RenderOptions options;
    std::string error;
    if (!render::ParseRenderArguments(argc, argv, options, error)) return Fail("", error);
    if (options.help) return PrintOrFail(render::RenderUsage());
    if (options.version) return PrintOrFail(std::string("zrbtracker-render ") + render::kRenderVersion + "\n");
    if (render::SoundFileFormatFor(options.outputPath) == 0)
        return Fail(options.outputPath, "unknown output format (use .wav, .flac or .ogg)");

    std::vector<std::unique_ptr<Target>> targets;
    for (int channel = 0; channel <= (options.stems ? tracker::kChannels : 0); ++channel) {
        targets.push_back(std::make_unique<Target>());
        targets.back()->path = channel == 0 ? options.outputPath : render::StemPath(options.outputPath, channel);
        targets.back()->channel = channel;
        if (SameFile(options.songPath, targets.back()->path))
            return Fail(targets.back()->path, "is the song file itself; choose another output name");
    }

    TrackerState song;
    if (!render::ReadSongFile(options.songPath, song, error)) return Fail(options.songPath, error);

    // Rendering into memory needs no sound server or card: spare the library
    // its search for them (it connects to each server it knows of).
    setenv("ALSOFT_DRIVERS", "null", 1);
    std::unique_ptr<gxtkAudio> audio = gxtkAudio::OpenLoopback(options.sampleRate);
    if (!audio)
        return Fail("", "cannot open an offline OpenAL device at " + std::to_string(options.sampleRate) + " Hz");
    if (!render::LoadWaveBank(song, *audio, error)) return Fail("", error);

    const render::RenderPlan plan = render::PlanRender(song, options.loops, options.sampleRate);
    if (plan.passCut)
        std::fprintf(stderr,
                     "zrbtracker-render: %s: the song does not return to its start; one pass is cut at %.0f s\n",
                     options.songPath.c_str(), static_cast<double>(plan.passTicks) / render::kTicksPerSecond);

    if (plan.TotalFrames() > render::MaxFramesFor(render::SoundFileFormatFor(options.outputPath)))
        return Fail(options.outputPath, "would be too long for a WAV file (over 4 GiB); use .flac or .ogg");

    InstallSignalHandlers();
    render::RemoveStalePartials(options.outputPath);
    for (auto& target : targets)
        if (!target->output.Open(target->path, options.sampleRate, error)) return Fail(target->path, error);

    const int renders = static_cast<int>(targets.size()) + (options.normalize ? 1 : 0);
    ProgressLine progress(!options.quiet && isatty(STDERR_FILENO), plan.TotalTicks() * renders);
    int64_t ticksBefore = 0;
    auto observer = [&](int64_t ticksDone) { progress.Update(ticksBefore + ticksDone); };

    // --normalize: a first mix only to find the loudest sample.
    float gain = 1.0f;
    if (options.normalize) {
        TrackerState state = song;
        float peak = 0.0f;
        const bool mixed = render::RenderSongFrames(
            state, *audio, plan,
            [&](const float* frames, int count) {
                peak = std::max(peak, render::FloatPeak(frames, static_cast<size_t>(count) * 2));
                return true;
            },
            observer);
        if (!mixed) {
            progress.Finish();
            return Fail("", "the offline OpenAL device stopped rendering");
        }
        if (peak > 0.0f) gain = static_cast<float>(kNormalizedPeak / peak);
        ticksBefore += plan.TotalTicks();
    }

    std::vector<int16_t> converted;
    for (auto& target : targets) {
        TrackerState state = song;
        if (target->channel != 0)
            for (int c = 0; c < tracker::kChannels; ++c)
                state.channelVolumeScale[static_cast<size_t>(c)] = c + 1 == target->channel ? 1.0f : 0.0f;
        std::string writeError;
        const bool rendered = render::RenderSongFrames(
            state, *audio, plan,
            [&](const float* frames, int count) {
                const size_t samples = static_cast<size_t>(count) * 2;
                if (converted.size() < samples) converted.resize(samples);
                target->peak = std::max(target->peak, render::ConvertToInt16(frames, converted.data(), samples, gain));
                return target->output.Write(converted.data(), count, writeError);
            },
            observer);
        if (!rendered) {
            progress.Finish();
            return writeError.empty() ? Fail("", "the offline OpenAL device stopped rendering")
                                      : Fail(target->path, writeError);
        }
        ticksBefore += plan.TotalTicks();
    }
    progress.Finish();
    // The mix and its stems are kept together or not at all.
    std::vector<render::SoundFileOutput*> outputs;
    for (auto& target : targets) outputs.push_back(&target->output);
    size_t failed = 0;
    if (!render::CommitTogether(outputs, failed, error)) return Fail(targets[failed]->path, error);

    if (!options.quiet) {
        const Target& mix = *targets.front();
        std::string extra;
        char text[96];
        if (options.normalize) {
            std::snprintf(text, sizeof text, ", normalized by %+.2f dB", Decibels(gain));
            extra += text;
        }
        if (options.stems) extra += ", 4 stems beside it";
        std::printf("%s: %.2f s, peak %.2f dBFS%s\n", mix.path.c_str(),
                    static_cast<double>(plan.TotalFrames()) / options.sampleRate, Decibels(mix.peak / 32768.0),
                    extra.c_str());
    }
    return 0;
}

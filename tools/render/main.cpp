// zrbtracker-render: plays a song file through the tracker's player over an
// offline audio device and writes the sound to a .wav, .flac or .ogg file.
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <memory>
#include <string>

#include "audio/gxtkAudio.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/SongRender.h"
#include "tools/render/SoundFileOutput.h"

namespace {
constexpr int kExitFailure = 1;
constexpr int64_t kProgressEveryTicks = render::kTicksPerSecond;

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

// An interrupted export removes its temporary file, then dies of the signal.
void OnTerminatingSignal(int signalNumber) {
    render::RemovePendingOutput();
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

void InstallSignalHandlers() {
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) std::signal(signalNumber, OnTerminatingSignal);
}

// One line, rewritten in place: seconds of sound done and the share of the whole.
class ProgressLine {
public:
    ProgressLine(bool shown, const render::RenderPlan& plan) : shown_(shown), plan_(plan) {}
    void Update(int64_t ticksDone) {
        if (!shown_ || (ticksDone % kProgressEveryTicks != 0 && ticksDone != plan_.TotalTicks())) return;
        const double done = static_cast<double>(ticksDone) / render::kTicksPerSecond;
        const double total = static_cast<double>(plan_.TotalTicks()) / render::kTicksPerSecond;
        std::fprintf(stderr, "\rrendering %.1f of %.1f s (%3.0f%%)", done, total, 100.0 * done / total);
        std::fflush(stderr);
    }
    void Finish() {
        if (shown_) std::fputs("\n", stderr);
    }

private:
    bool shown_;
    const render::RenderPlan& plan_;
};
}  // namespace

int main(int argc, char** argv) {
    render::RenderOptions options;
    std::string error;
    if (!render::ParseRenderArguments(argc, argv, options, error)) return Fail("", error);
    if (options.help) {
        std::fputs(render::RenderUsage().c_str(), stdout);
        return 0;
    }
    if (render::SoundFileFormatFor(options.outputPath) == 0)
        return Fail(options.outputPath, "unknown output format (use .wav, .flac or .ogg)");

    if (SameFile(options.songPath, options.outputPath))
        return Fail(options.outputPath, "is the song file itself; choose another output name");

    TrackerState state;
    if (!render::ReadSongFile(options.songPath, state, error)) return Fail(options.songPath, error);

    std::unique_ptr<gxtkAudio> audio = gxtkAudio::OpenLoopback(options.sampleRate);
    if (!audio)
        return Fail("", "cannot open an offline OpenAL device at " + std::to_string(options.sampleRate) + " Hz");
    if (!render::LoadWaveBank(state, *audio, error)) return Fail("", error);

    const render::RenderPlan plan = render::PlanRender(state, options.loops, options.sampleRate);
    if (plan.passCut)
        std::fprintf(stderr,
                     "zrbtracker-render: %s: the song does not return to its start; one pass is cut at %.0f s\n",
                     options.songPath.c_str(), static_cast<double>(plan.passTicks) / render::kTicksPerSecond);

    if (plan.TotalFrames() > render::MaxFramesFor(render::SoundFileFormatFor(options.outputPath)))
        return Fail(options.outputPath, "would be too long for a WAV file (over 4 GiB); use .flac or .ogg");

    InstallSignalHandlers();
    render::SoundFileOutput output;
    if (!output.Open(options.outputPath, options.sampleRate, error)) return Fail(options.outputPath, error);

    ProgressLine progress(!options.quiet && isatty(STDERR_FILENO), plan);
    std::string writeError;
    const bool rendered = render::RenderSong(
        state, *audio, plan, [&](int16_t* frames, int count) { return audio->RenderFrames(frames, count); },
        [&](const int16_t* frames, int count) { return output.Write(frames, count, writeError); },
        [&](int64_t ticksDone) { progress.Update(ticksDone); });
    progress.Finish();
    if (!rendered) {
        output.Abandon();
        return writeError.empty() ? Fail("", "the offline OpenAL device stopped rendering")
                                  : Fail(options.outputPath, writeError);
    }
    if (!output.Commit(error)) return Fail(options.outputPath, error);
    return 0;
}

// Parsing of the export tool's command line. Numbers must be whole decimal
// numbers in range: "--loops 2x" is refused rather than read as 2.
#include "tools/render/RenderOptions.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tools/render/SongRender.h"

namespace render {
const char* const kRenderVersion = "1.0";

namespace {
// A whole decimal number within [low, high], nothing else in the text.
bool ParseBoundedInt(const std::string& text, int low, int high, int& value) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    const long parsed = std::strtol(text.c_str(), nullptr, 10);
    if (parsed < low || parsed > high) return false;
    value = static_cast<int>(parsed);
    return true;
}

// "--name VALUE" or "--name=VALUE"; advances `index` past a separate value.
bool TakeValue(const std::vector<std::string>& args, size_t& index, const std::string& name, std::string& value,
               bool& matched) {
    const std::string& arg = args[index];
    matched = false;
    if (arg == name) {
        matched = true;
        if (index + 1 >= args.size()) return false;
        value = args[++index];
        return true;
    }
    if (arg.compare(0, name.size() + 1, name + "=") == 0) {
        matched = true;
        value = arg.substr(name.size() + 1);
        return true;
    }
    return true;
}
}  // namespace

bool ParseRenderArguments(int argc, const char* const* argv, RenderOptions& options, std::string& error) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::vector<std::string> files;
    bool onlyFiles = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyFiles || arg.empty() || arg[0] != '-' || arg == "-") {
            files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyFiles = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            return true;
        }
        if (arg == "--version") {
            options.version = true;
            return true;
        }
        if (arg == "--quiet" || arg == "-q") {
            options.quiet = true;
            continue;
        }
        if (arg == "--stems") {
            options.stems = true;
            continue;
        }
        if (arg == "--normalize") {
            options.normalize = true;
            continue;
        }
        std::string value;
        bool matched = false;
        if (!TakeValue(args, i, "--loops", value, matched) ||
            (matched && !ParseBoundedInt(value, 1, kMaxLoops, options.loops))) {
            error = "--loops needs a whole number from 1 to " + std::to_string(kMaxLoops);
            return false;
        }
        if (matched) continue;
        if (!TakeValue(args, i, "--rate", value, matched) ||
            (matched && !ParseBoundedInt(value, kMinSampleRate, kMaxSampleRate, options.sampleRate))) {
            error = "--rate needs a sample rate in Hz from " + std::to_string(kMinSampleRate) + " to " +
                    std::to_string(kMaxSampleRate);
            return false;
        }
        if (matched) continue;
        error = "unknown option " + arg + " (see --help)";
        return false;
    }
    if (files.size() != 2) {
        error = files.size() < 2 ? "needs a song file and an output file (see --help)"
                                 : "too many file names: " + files[2] + " (see --help)";
        return false;
    }
    options.songPath = files[0];
    options.outputPath = files[1];
    return true;
}

std::string RenderUsage() {
    char limit[96];
    std::snprintf(limit, sizeof limit, "A pass is limited to %lld ticks (%.1f minutes).\n",
                  static_cast<long long>(kMaxPassTicks), static_cast<double>(kMaxPassTicks) / kTicksPerSecond / 60.0);
    return "Usage: zrbtracker-render SONG-FILE OUTPUT [--loops N] [--rate HZ] [--stems] [--normalize] [--quiet]\n"
           "       zrbtracker-render --help | --version\n"
           "\n"
           "Plays a song file through the tracker's player and writes the sound to OUTPUT.\n"
           "The format follows OUTPUT's extension: .wav (16-bit PCM stereo), .flac or .ogg (Vorbis).\n"
           "\n"
           "The render starts at the song's first position and ends when playback comes back to it,\n"
           "followed by one second of tail in which no new rows start and sounding notes decay.\n" +
           std::string(limit) +
           "\n"
           "  --loops N   play the song N times (1..100, default 1)\n"
           "  --rate HZ   sample rate (8000..192000, default 44100)\n"
           "  --stems     also write OUT-1 .. OUT-4 beside OUTPUT (OUT.wav gives OUT-1.wav and so on):\n"
           "              each tracker channel alone, sample-aligned with the full mix\n"
           "  --normalize scale so that the loudest sample peaks at -1 dBFS (stems by the same gain)\n"
           "  --quiet     no progress line on standard error and no summary on standard output\n"
           "  --help      this text\n"
           "  --version   the program's version\n"
           "\n"
           "After a successful export one line on standard output names the file, its length and\n"
           "its peak level. Exit status 0 on success, 1 on any error; a failed export leaves no\n"
           "output file.\n";
}

std::string StemPath(const std::string& outputPath, int channel) {
    const size_t slash = outputPath.rfind('/');
    const size_t dot = outputPath.rfind('.');
    const size_t cut =
        dot == std::string::npos || (slash != std::string::npos && dot < slash) ? outputPath.size() : dot;
    return outputPath.substr(0, cut) + "-" + std::to_string(channel) + outputPath.substr(cut);
}
}  // namespace render

// The command line of the export tool: song file, output file and options.
#pragma once

#include <string>

namespace render {
constexpr int kDefaultSampleRate = 44100;
constexpr int kMinSampleRate = 8000;
constexpr int kMaxSampleRate = 192000;
constexpr int kMaxLoops = 100;

struct RenderOptions {
    std::string songPath;
    std::string outputPath;
    int loops = 1;
    int sampleRate = kDefaultSampleRate;
    bool quiet = false;
    bool help = false;
    bool version = false;
    bool stems = false;      // also OUT-1 .. OUT-4: each tracker channel alone
    bool normalize = false;  // scale so the loudest sample peaks at -1 dBFS
};

// The program's version, as --version prints it.
extern const char* const kRenderVersion;

// Fills `options` from argv[1..]; false with a one-line `error` when the
// arguments are unusable. --help and --version need no files.
bool ParseRenderArguments(int argc, const char* const* argv, RenderOptions& options, std::string& error);

// The text --help prints.
std::string RenderUsage();

// The file name of stem `channel` (1..4): "OUT-N" before OUT's extension.
std::string StemPath(const std::string& outputPath, int channel);
}  // namespace render

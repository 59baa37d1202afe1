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
};

// Fills `options` from argv[1..]; false with a one-line `error` when the
// arguments are unusable. --help needs no files.
bool ParseRenderArguments(int argc, const char* const* argv, RenderOptions& options, std::string& error);

// The text --help prints.
std::string RenderUsage();
}  // namespace render

// Application start-up: every resource the tracker uses is loaded here once;
// a missing file leaves its field empty and the tracker runs on without it,
// after one line on standard error that names the file.
#include "player/StartUp.h"

#include "graphics/Font.h"
#include "graphics/Image.h"
#include "io/DataPath.h"
#include "song/SongModel.h"
#include "song/Undo.h"
#include "store/Autosave.h"
#include "store/SongFolder.h"

namespace {
constexpr int kUpdatesPerSecond = 50;

// Without this a missing font gives a window with no text and no word why.
template <typename Resource>
void ReportIfMissing(const Resource& resource, const char* fileName) {
    if (!resource) LogError(String("Cannot load ") + MapToFilePath(ToDataPath(fileName)));
}
}  // namespace

// Slot order of the wave bank; the waveform table of the player relies on it.
const char* const kWaveformFiles[tracker::kWaveforms] = {"ramp_64.wav", "ramp_b_64.wav", "ramp_c_64.wav",
                                                         "saw_64.wav",  "fx2b.wav",      "tri_64.wav",
                                                         "hnoise.wav",  "zero_64.wav"};

void StartUp(TrackerState& state, AudioDevice& audio, c_GraphicsContext& graphics,
             const std::function<void(int)>& setUpdateRate) {
    setUpdateRate(kUpdatesPerSecond);
    state.font = LoadFont(graphics, "vexafont.png", false);
    ReportIfMissing(state.font, "vexafont.png");
    graphics.SetFont(state.font);
    state.buttonImage = LoadImage(graphics, "button1.png", DefaultImageFlags());
    ReportIfMissing(state.buttonImage, "button1.png");
    state.navRowImage = LoadImage(graphics, "button_navrow.png", DefaultImageFlags());
    ReportIfMissing(state.navRowImage, "button_navrow.png");
    for (int slot = 0; slot < tracker::kWaveforms; ++slot) {
        state.waveBank[static_cast<size_t>(slot)] = LoadSound(audio, kWaveformFiles[slot]);
        ReportIfMissing(state.waveBank[static_cast<size_t>(slot)], kWaveformFiles[slot]);
    }
    BuildEmptySong(state);
    StartNewHistory(state);
    PrepareSongFolder();
    if (TakeAutosaveNotice()) state.statusText = kAutosaveKeptStatus;
}

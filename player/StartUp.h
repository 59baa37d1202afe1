// Application start-up: loads the font, the button images and the eight
// waveforms, builds the empty song and sets the standby status.
#pragma once

#include <functional>

#include "audio/AudioDevice.h"
#include "graphics/GraphicsContext.h"
#include "song/TrackerState.h"

// The file names of waveBank slots 0..7, in slot order.
extern const char* const kWaveformFiles[tracker::kWaveforms];

// The application's OnCreate. Missing resources leave their fields empty.
void StartUp(TrackerState& state, AudioDevice& audio, c_GraphicsContext& graphics,
             const std::function<void(int)>& setUpdateRate);

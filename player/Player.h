// The sequencer: the per-tick row step that reads the song and triggers the
// oscillators, and the modulation stage that sets gains and rates. It speaks
// to sound only through the audio driver's operations.
#pragma once

#include "audio/AudioDevice.h"
#include "song/TrackerState.h"

// One update tick while playing: the row step when due, then the modulation.
void PlayerTick(TrackerState& state, AudioDevice& audio);

// Starts or stops the oscillators of tracker channel `channel` (1..4): audio
// channel `channel` plays sound A, channel + 4 sound B. The pitch index of a
// note-off row (rowOctave * 12 + 104) stops both; indices above 43 and volume
// digits of 0 or below start nothing.
void TriggerVoice(TrackerState& state, AudioDevice& audio, c_Sound* soundA, int pitchIndex, int channel, int flags,
                  c_Sound* soundB, int volumeDigit, int rowOctave);

// Stops audio channels 1..8 in the order the player always uses.
void StopAllVoices(AudioDevice& audio);

// The waveform table: WAV 1..7 picks oscillators A and B from the wave bank.
// Other values return false and leave both unchanged.
bool SelectWaveformPair(const TrackerState& state, int wav, c_Sound*& oscA, c_Sound*& oscB);

// pow(K, exponent) in double with K = 2^(1/12) rounded to float; float result.
float PitchBase(float exponent);

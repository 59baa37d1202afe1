// The sequencer: the per-tick row step that reads the song and triggers the
// oscillators, and the modulation stage that sets gains and rates. It speaks
// to sound only through the audio driver's operations.
#pragma once

#include "audio/AudioDevice.h"
#include "song/TrackerState.h"

// One update tick while playing: the row step when due, then the modulation.
void PlayerTick(TrackerState& state, AudioDevice& audio);

// Starts, re-pitches or stops tracker channel `channel` (0..3) on audio
// channels channel+1 (oscillator A) and channel+5 (oscillator B).
void TriggerVoice(TrackerState& state, AudioDevice& audio, c_Sound* soundA, int pitchIndex, int channel,
                  int flags, c_Sound* soundB, int volumeDigit, int rowOctave);

// Stops audio channels 1..8 in the order the player always uses.
void StopAllVoices(AudioDevice& audio);

// The waveform table: WAV 1..7 picks oscillators A and B from the wave bank.
// Other values return false and leave both unchanged.
bool SelectWaveformPair(const TrackerState& state, int wav, c_Sound*& oscA, c_Sound*& oscB);

// pow(K, exponent) in double with K = 2^(1/12) rounded to float; float result.
float PitchBase(float exponent);

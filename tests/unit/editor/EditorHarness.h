// Drives UpdateStep the way the host does: events are fed to the real input
// device between updates, then BeginUpdate / UpdateStep / EndUpdate. Sound
// goes to the recording audio twin; the wave bank holds numbered samples so
// the log shows which waveform each oscillator got.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include "editor/Editor.h"
#include "editor/Keys.h"
#include "host/InputDevice.h"
#include "host/KeyCodes.h"
#include "song/SongModel.h"
#include "song/TrackerState.h"
#include "song/Undo.h"
#include "tests/support/RecordingAudio.h"

class EditorTest : public ::testing::Test {
protected:
    TrackerState state;
    OverlayState overlay;
    c_InputDevice input;
    RecordingAudio audio;
    std::vector<int> updateRates;

    void SetUp() override {
        BuildEmptySong(state);
        StartNewHistory(state);
        for (int slot = 0; slot < tracker::kWaveforms; ++slot)
            state.waveBank[slot] = std::make_shared<c_Sound>(std::make_shared<gxtkSample>(100 + slot));
    }

    // A key press as the host's key callback delivers it, with the
    // character the input room's table says some keys also put in the queue.
    void PressKey(int code) {
        input.KeyEvent(EVENT_KEY_PRESSED, code);
        if (const int c = keys::KeyPressCharacter(code)) input.KeyEvent(EVENT_CHAR_TYPED, c);
    }
    void ReleaseKey(int code) { input.KeyEvent(EVENT_KEY_RELEASED, code); }
    void TapKey(int code) {
        PressKey(code);
        ReleaseKey(code);
    }
    // A printable key: the key event (letters by their upper-case code), then
    // the character callback's code point.
    void TypeChar(int c) {
        if (c < 128 && std::isalpha(c)) {
            TapKey(std::toupper(c));
        } else if (c == ' ') {
            TapKey(keys::kSpace);
        }
        input.KeyEvent(EVENT_CHAR_TYPED, c);
    }
    void MovePointer(float x, float y) { input.MouseEvent(EVENT_POINTER_MOVED, -1, x, y, 0); }
    void Click(float x, float y) {
        MovePointer(x, y);
        input.MouseEvent(EVENT_BUTTON_PRESSED, 0, x, y, 0);
        input.MouseEvent(EVENT_BUTTON_RELEASED, 0, x, y, 0);
    }
    void Scroll(float offset) { input.MouseEvent(EVENT_POINTER_MOVED, -1, 10, 10, offset); }

    void Update() {
        input.BeginUpdate();
        UpdateStep(state, overlay, input, audio, [this](int rate) { updateRates.push_back(rate); });
        input.EndUpdate();
    }
    // One update per character, as a user types.
    void TypeText(const std::string& text) {
        for (unsigned char c : text) {
            TypeChar(c);
            Update();
        }
    }
    void TypeCodePoint(int c) {
        input.KeyEvent(EVENT_CHAR_TYPED, c);
        Update();
    }
    void StartEditing() {
        TapKey(keys::kSpace);
        Update();
        ASSERT_EQ(state.transportState, tracker::kEditing);
    }

    char Cell(int column, int pattern, int row) const {
        return static_cast<char>(state.songColumns[column][pattern * 32 + row]);
    }
    void SetCell(int column, int pattern, int row, char c) {
        state.songColumns[column] = ReplaceChar(state.songColumns[column], pattern * 32 + row + 1, String::FromChar(c));
    }
    int* Instrument(int i) { return &state.instrumentParams[i * 8]; }
    bool Logged(const std::string& line) const {
        for (const auto& entry : audio.log)
            if (entry == line) return true;
        return false;
    }
    void ExpectAllVoicesStopped() const {
        const std::vector<std::string> expected = {"StopChannel 1", "StopChannel 2", "StopChannel 3", "StopChannel 4",
                                                   "StopChannel 6", "StopChannel 5", "StopChannel 8", "StopChannel 7"};
        const auto stops = audio.Lines("StopChannel");
        ASSERT_GE(stops.size(), expected.size());
        EXPECT_EQ(std::vector<std::string>(stops.begin(), stops.begin() + 8), expected);
    }
    void ExpectColumnsIntact() const {
        for (int k = 0; k < tracker::kColumns; ++k) EXPECT_EQ(state.songColumns[k].Length(), 8192) << "column " << k;
    }
};

// A song state at its start-up values and a recording drawing layer, with
// two stand-in button images named in the log.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "graphics/Image.h"
#include "screen/Screen.h"
#include "song/SongModel.h"
#include "tests/support/RecordingGraphics.h"

class ScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        BuildEmptySong(state);
        state.buttonImage = std::make_shared<c_Image>();
        state.navRowImage = std::make_shared<c_Image>();
        g.imageNames[state.buttonImage.get()] = "button1";
        g.imageNames[state.navRowImage.get()] = "navrow";
    }

    // Writes one cell of channel c (0..3) at row index r.
    void PutCell(int c, int r, const char* note, const char* volume, const char* instrument, const char* octave) {
        auto put = [&](int column, const char* text) {
            state.songColumns[column] = ReplaceChar(state.songColumns[column], r + 1, text);
        };
        put(tracker::NoteColumn(c), note);
        put(tracker::VolumeColumn(c), volume);
        put(tracker::InstrumentColumn(c), instrument);
        put(tracker::OctaveColumn(c), octave);
    }

    // The log from `from` on, cut to `count` lines (fewer when it ends first).
    std::vector<std::string> Slice(int from, int count) const {
        std::vector<std::string> out;
        for (int i = from; i < from + count && i < static_cast<int>(g.log.size()); ++i) out.push_back(g.log[i]);
        return out;
    }

    // The first line where the log differs from `expected`, or "" when it matches.
    static std::string FirstDifference(const std::vector<std::string>& actual,
                                       const std::vector<std::string>& expected) {
        for (size_t i = 0; i < expected.size(); ++i) {
            if (i >= actual.size()) return "line " + std::to_string(i) + ": missing, expected [" + expected[i] + "]";
            if (actual[i] != expected[i])
                return "line " + std::to_string(i) + ": [" + actual[i] + "], expected [" + expected[i] + "]";
        }
        if (actual.size() > expected.size())
            return "extra line " + std::to_string(expected.size()) + ": [" + actual[expected.size()] + "]";
        return "";
    }

    TrackerState state;
    RecordingGraphics g;
};

namespace screen_test {
const std::string kBackground = "color 86 60 106";
const std::string kPanel = "color 0 0 0";
const std::string kText = "color 148 144 164";
const std::string kBeat = "color 113.846 110.769 126.154";
const std::string kCursorRow = "color 82 72 74";
const std::string kCaret = "color 143 31 87";
const std::string kMarker = "color 171.6 37.2 104.4";
const std::string kWhite = "color 255 255 255";
const std::string kEmptyRowCells = ": ---00 ---00 ---00 ---00";  // after the row number
}  // namespace screen_test

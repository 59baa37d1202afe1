// Writes the demo song: a short loop in A minor (Am F C G) with a PWM lead,
// a saw bass, chord arpeggios and drums, so that a new user hears every part
// of the player after typing "demo" and pressing F12.
// Usage: zrb_demosong_generator <output file>
#include <cstdio>
#include <string>

#include "song/InstrumentValues.h"
#include "song/SongFile.h"
#include "song/SongModel.h"
#include "song/TrackerState.h"

namespace {

// Note-key characters by note code 0..28 (code 0 is the C of the octave digit).
const char kNoteKeys[] = "ysxdcvgbhnjmq2w3er5t6z7ui9o0p";
constexpr char kNoteOff = '<';
constexpr char kSlideUp = '#';

enum Channel { kLead = 0, kBass = 1, kChords = 2, kDrums = 3 };
enum InstrumentNumber { kPwmLead = 1, kSawBass = 2, kMajorArp = 3, kMinorArp = 4, kKick = 5, kHat = 6, kBell = 7 };

struct Instrument {
    const char* name;
    InstrumentValues values;  // wav, pwm, repeat, e2p, sweep, amount, env, speed, arp1, arp2
};

const Instrument kInstruments[] = {
    {"pwm lead", {1, 9, 0, 0, 5, 0, 60, 0, 0, 0}},     {"saw bass", {3, 4, 0, 0, 0, 0, 7, 0, 0, 0}},
    {"major arp", {4, 0, 0, 0, 0, 15, 40, 1, 4, 7}},   {"minor arp", {4, 0, 0, 0, 0, 15, 40, 1, 3, 7}},
    {"kick drop", {4, 0, 0, 1, 0, 0, 2, 0, 0, 0}},     {"noise hat", {7, 0, 0, 0, 0, 0, 1, 0, 0, 0}},
    {"bell once", {5, 0, 1, 0, 0, 15, 120, 2, 12, 7}},
};

void SetChar(TrackerState& song, int column, int pattern, int row, char c) {
    String& text = song.songColumns[static_cast<size_t>(column)];
    text = ReplaceChar(text, pattern * tracker::kRowsPerPattern + row + 1, String::FromChar(c));
}

// A note by code 0..28; volume 0 keeps the channel's volume (legato).
void Note(TrackerState& song, int pattern, int row, int channel, int code, int volume, int instrument, int octave) {
    SetChar(song, tracker::NoteColumn(channel), pattern, row, kNoteKeys[code]);
    SetChar(song, tracker::VolumeColumn(channel), pattern, row, static_cast<char>(HexDigitText(volume)[0]));
    SetChar(song, tracker::InstrumentColumn(channel), pattern, row, static_cast<char>(HexDigitText(instrument)[0]));
    SetChar(song, tracker::OctaveColumn(channel), pattern, row, static_cast<char>('0' + octave));
}

void Command(TrackerState& song, int pattern, int row, int channel, char command) {
    SetChar(song, tracker::NoteColumn(channel), pattern, row, command);
}

// Chord roots for the four bars of a pattern, as bass codes in octave 0
// (A = 9, F = 5, C = 12, G = 7) and whether the chord is minor.
const int kRoots[4] = {9, 5, 12, 7};
const bool kMinor[4] = {true, false, false, false};

void Bass(TrackerState& song, int pattern) {
    for (int bar = 0; bar < 4; ++bar)
        for (int step = 0; step < 4; ++step) {
            const int code = kRoots[bar] + (step % 2 == 1 ? 12 : 0);
            Note(song, pattern, bar * 8 + step * 2, kBass, code, step == 0 ? 6 : 4, kSawBass, 0);
        }
}

void Chords(TrackerState& song, int pattern) {
    for (int bar = 0; bar < 4; ++bar) {
        const int instrument = kMinor[bar] ? kMinorArp : kMajorArp;
        Note(song, pattern, bar * 8, kChords, kRoots[bar], 4, instrument, 1);
        Note(song, pattern, bar * 8 + 4, kChords, kRoots[bar], 3, instrument, 1);
    }
}

void Drums(TrackerState& song, int pattern, bool busy) {
    for (int row = 0; row < 32; row += 8) {
        Note(song, pattern, row, kDrums, 0, 5, kKick, 2);
        Note(song, pattern, row + 4, kDrums, 12, 3, kHat, 3);
        if (busy) {
            Note(song, pattern, row + 2, kDrums, 12, 2, kHat, 3);
            Note(song, pattern, row + 6, kDrums, 12, 3, kHat, 3);
        }
    }
}

struct MelodyNote {
    int row, code, volume;
};

void Lead(TrackerState& song, int pattern, const MelodyNote* notes, int count) {
    for (int i = 0; i < count; ++i)
        Note(song, pattern, notes[i].row, kLead, notes[i].code, notes[i].volume, kPwmLead, 2);
}

TrackerState BuildDemo() {
    TrackerState song;
    BuildEmptySong(song);
    song.songSpeed = 4;
    for (int i = 0; i < static_cast<int>(sizeof kInstruments / sizeof kInstruments[0]); ++i) {
        const Instrument& in = kInstruments[i];
        WriteInstrument(song, i + 1, in.values);
        song.instrumentNames[static_cast<size_t>(i + 1)] = in.name;
    }

    // Pattern 0: the groove alone, with a bell on each bar.
    Bass(song, 0);
    Chords(song, 0);
    Drums(song, 0, false);
    for (int bar = 0; bar < 4; ++bar) Note(song, 0, bar * 8, kLead, kRoots[bar] % 12, 4, kBell, 2);

    // Pattern 1: the tune; the D at row 24 bends up into the B.
    const MelodyNote tune[] = {{0, 16, 5}, {2, 14, 4},  {4, 12, 5},  {6, 9, 4},   {8, 12, 5},  {12, 9, 4}, {14, 12, 4},
                               {16, 7, 5}, {18, 12, 4}, {20, 16, 5}, {22, 19, 5}, {24, 14, 5}, {30, 11, 4}};
    Bass(song, 1);
    Chords(song, 1);
    Drums(song, 1, true);
    Lead(song, 1, tune, sizeof tune / sizeof tune[0]);
    Command(song, 1, 28, kLead, kSlideUp);

    // Pattern 2: the answer, with a legato run (volume 0 keeps the voice going).
    const MelodyNote answer[] = {{0, 21, 5},  {4, 19, 4},  {6, 16, 0},  {8, 17, 5},  {12, 16, 4}, {14, 12, 0},
                                 {16, 16, 5}, {20, 19, 4}, {22, 24, 4}, {24, 23, 5}, {28, 19, 4}};
    Bass(song, 2);
    Chords(song, 2);
    Drums(song, 2, true);
    Lead(song, 2, answer, sizeof answer / sizeof answer[0]);
    Command(song, 2, 31, kLead, kNoteOff);

    // Pattern 3: the turnaround, ending on a long A.
    const MelodyNote ending[] = {{0, 9, 5}, {8, 12, 4}, {16, 16, 5}, {24, 21, 6}};
    Bass(song, 3);
    Chords(song, 3);
    Drums(song, 3, false);
    Lead(song, 3, ending, sizeof ending / sizeof ending[0]);

    const int order[] = {0, 1, 2, 1, 3};
    const int positions = sizeof order / sizeof order[0];
    for (int i = 0; i < positions; ++i) song.positions[static_cast<size_t>(i)] = order[i];
    song.songLength = positions * tracker::kRowsPerPattern;
    return song;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output file>\n", argv[0]);
        return 2;
    }
    const std::string bytes = EncodeSong(BuildDemo()).ToUtf8();
    FILE* file = std::fopen(argv[1], "wb");
    if (!file) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}

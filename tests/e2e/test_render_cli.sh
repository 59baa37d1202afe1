#!/usr/bin/env bash
# The export tool from the command line: file lengths, formats, repeatability,
# the progress line, and every error case (message naming the file, status 1,
# no output file and no temporary file left behind). Needs no display and no
# sound card.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/harness.sh"
zrb_setup

RENDER="$ZRB_BUILD_DIR/zrbtracker-render"
T="$ZRB_TMP"
FRAMES_PER_TICK=882
TAIL_TICKS=50

# write_song FILE SPEED POSITIONS: one pattern with A-2 on channel 1 (instrument
# 1: triangle, ENV 255) in the song file layout, every position on pattern 0.
write_song() {
    python3 - "$1" "$2" "$3" <<'PY'
import sys
path, speed, positions = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
def col(first, rest):
    return first + rest * 31
notes = [col("n", ".")] + [col(".", ".")] * 3
volumes = [col("8", "0")] + [col("0", "0")] * 3
instruments = [col("1", "0")] + [col("0", "0")] * 3
octaves = [col("2", "0")] + [col("0", "0")] * 3
params = [0] * 249
params[8] = 4      # WAV: triangle
params[12] = 255   # ENV
text = "ZRB1" + chr(positions) + chr(speed) + chr(1)
text += "".join(notes + volumes + instruments + octaves)
text += chr(0) * 256 + "".join(chr(p) for p in params) + " " * (31 * 21)
open(path, "wb").write(text.encode("utf-8"))
PY
}

frames_of() { soxi -s "$1" 2>/dev/null; }
leftovers() { find "$T/out" -name '.*partial*' | wc -l; }
lines_of() { wc -l < "$1" | tr -d ' '; }

mkdir -p "$T/out"
write_song "$T/song" 4 1
write_song "$T/slow" 16 99

# --- Successful exports ---
"$RENDER" "$T/song" "$T/out/a.wav" 2>"$T/err.txt"
zrb_expect_eq "wav export succeeds" 0 $?
zrb_expect_eq "no progress line when stderr is not a terminal" 0 "$(lines_of "$T/err.txt")"
zrb_expect_eq "wav length is one pass plus the tail" $(((32 * 4 + TAIL_TICKS) * FRAMES_PER_TICK)) "$(frames_of "$T/out/a.wav")"
zrb_expect_eq "wav is 16-bit stereo at 44100 Hz" "2 44100 16" \
    "$(soxi -c "$T/out/a.wav") $(soxi -r "$T/out/a.wav") $(soxi -b "$T/out/a.wav")"

"$RENDER" "$T/song" "$T/out/b.wav" --quiet
zrb_check "two renders are byte-identical" cmp -s "$T/out/a.wav" "$T/out/b.wav"

"$RENDER" "$T/song" "$T/out/loops.wav" --loops 2
zrb_expect_eq "--loops 2 is two passes plus the tail" $(((2 * 32 * 4 + TAIL_TICKS) * FRAMES_PER_TICK)) \
    "$(frames_of "$T/out/loops.wav")"

write_song "$T/three" 6 3
"$RENDER" "$T/three" "$T/out/three.wav"
zrb_expect_eq "a pass covers every position at the song speed" $(((3 * 32 * 6 + TAIL_TICKS) * FRAMES_PER_TICK)) \
    "$(frames_of "$T/out/three.wav")"

"$RENDER" "$T/song" "$T/out/r48.wav" --rate 48000
zrb_expect_eq "--rate 48000 keeps 50 ticks a second" "$(((32 * 4 + TAIL_TICKS) * 960)) 48000" \
    "$(frames_of "$T/out/r48.wav") $(soxi -r "$T/out/r48.wav")"

"$RENDER" "$T/song" "$T/out/a.FLAC"
zrb_expect_eq "flac export is FLAC" "flac" "$(soxi -t "$T/out/a.FLAC")"
zrb_check "flac holds exactly the wav's samples" \
    cmp -s <(sox "$T/out/a.FLAC" -t raw -) <(sox "$T/out/a.wav" -t raw -)

"$RENDER" "$T/song" "$T/out/a.ogg"
zrb_expect_eq "ogg export is Vorbis, stereo, 44100 Hz" "vorbis 2 44100" \
    "$(soxi -t "$T/out/a.ogg") $(soxi -c "$T/out/a.ogg") $(soxi -r "$T/out/a.ogg")"
zrb_expect_eq "ogg length is one pass plus the tail" $(((32 * 4 + TAIL_TICKS) * FRAMES_PER_TICK)) "$(frames_of "$T/out/a.ogg")"

"$RENDER" --help >"$T/help.txt"
zrb_expect_eq "--help exits 0" 0 $?
zrb_check "--help prints the usage" grep -q "^Usage: zrbtracker-render SONG-FILE OUTPUT" "$T/help.txt"

# A terminal on stderr shows the progress line; --quiet hides it.
script -qec "'$RENDER' '$T/song' '$T/out/tty.wav'" /dev/null >"$T/tty.txt" 2>&1
zrb_check "progress line on a terminal" grep -q "rendering 3.6 of 3.6 s (100%)" "$T/tty.txt"
script -qec "'$RENDER' '$T/song' '$T/out/tty.wav' --quiet" /dev/null >"$T/tty.txt" 2>&1
zrb_check "--quiet silences the progress line" bash -c "! grep -q rendering '$T/tty.txt'"

# --- Errors: one line naming the file, status 1, nothing written ---
expect_failure() {  # expect_failure NAME TEXT OUTPUT ARGS...
    local name="$1" text="$2" output="$3"
    shift 3
    "$RENDER" "$@" >"$T/stdout.txt" 2>"$T/err.txt"
    local status=$?
    zrb_expect_eq "$name: status 1" 1 "$status"
    zrb_expect_eq "$name: one line on stderr" 1 "$(lines_of "$T/err.txt")"
    zrb_check "$name: message names '$text'" grep -qF -- "$text" "$T/err.txt"
    [ -n "$output" ] && zrb_check "$name: no output file" test ! -e "$output"
    zrb_expect_eq "$name: no temporary file" 0 "$(leftovers)"
}

expect_failure "unknown extension" "$T/out/x.mp3" "$T/out/x.mp3" "$T/song" "$T/out/x.mp3"
expect_failure "no extension" "$T/out/noext" "$T/out/noext" "$T/song" "$T/out/noext"
expect_failure "missing song" "$T/missing-song" "$T/out/m.wav" "$T/missing-song" "$T/out/m.wav"
: >"$T/empty-song"
expect_failure "empty song" "$T/empty-song" "$T/out/e.wav" "$T/empty-song" "$T/out/e.wav"
mkdir -p "$T/songdir"
expect_failure "song is a folder" "$T/songdir" "$T/out/d.wav" "$T/songdir" "$T/out/d.wav"
expect_failure "output folder missing" "$T/out/nowhere/o.wav" "$T/out/nowhere/o.wav" "$T/song" "$T/out/nowhere/o.wav"
mkdir -p "$T/out/taken.wav"
expect_failure "output is a folder" "$T/out/taken.wav" "" "$T/song" "$T/out/taken.wav"
zrb_check "output is a folder: the folder is untouched" test -d "$T/out/taken.wav"
expect_failure "bad loop count" "--loops" "$T/out/l.wav" "$T/song" "$T/out/l.wav" --loops 0
expect_failure "bad rate" "--rate" "$T/out/r.wav" "$T/song" "$T/out/r.wav" --rate fast
expect_failure "no arguments" "song file" ""

# 99 positions at speed 16, 100 times: about 28 hours, more than a WAV file holds.
expect_failure "too long for wav" "$T/out/huge.wav" "$T/out/huge.wav" "$T/slow" "$T/out/huge.wav" --loops 100
cp "$T/song" "$T/out/song.wav"
expect_failure "output is the song file" "$T/out/song.wav" "" "$T/out/song.wav" "$T/out/song.wav"
zrb_check "output is the song file: the song is untouched" cmp -s "$T/song" "$T/out/song.wav"

# A failed export leaves an older file of the same name as it was.
cp "$T/out/a.wav" "$T/out/keep.wav"
"$RENDER" "$T/missing-song" "$T/out/keep.wav" 2>/dev/null
zrb_check "a failed export keeps the older file" cmp -s "$T/out/a.wav" "$T/out/keep.wav"

# An interrupted export removes its temporary file.
"$RENDER" "$T/slow" "$T/out/long.flac" --loops 100 --quiet &
render_pid=$!
zrb_check "interrupted: the export was under way" zrb_wait_for 10 bash -c "[ \"\$(find '$T/out' -name '.long.flac.partial*' -size +100k | wc -l)\" -gt 0 ]"
kill -TERM "$render_pid" 2>/dev/null
wait "$render_pid" 2>/dev/null
zrb_check "interrupted: no output file" test ! -e "$T/out/long.flac"
zrb_expect_eq "interrupted: no temporary file" 0 "$(leftovers)"

zrb_finish

#!/usr/bin/env bash
# What the waveform set sounds like, heard through the export tool: every WAV
# selection at A-2 is at 440 Hz and about as loud as the others, the pairs
# sweep their pulse width with PWM, the stems add up to the mix, and
# --normalize peaks at -1 dBFS. Needs no display and no sound card.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/harness.sh"
zrb_setup

RENDER="$ZRB_BUILD_DIR/zrbtracker-render"
TOOL="$(dirname "${BASH_SOURCE[0]}")/tools/export_sound.py"
T="$ZRB_TMP"
PYTHON=python3
for candidate in /usr/bin/python3 python3; do
    if "$candidate" -c 'import numpy' 2>/dev/null; then PYTHON="$candidate"; break; fi
done
in_range() { awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v >= lo && v <= hi) }'; }

# Speed 16: a row lasts 0.32 s and row 0 is read 0.30 s in. Position 0 plays
# A-2 with instruments 1..6 (WAV 01..06, PWM 0) every four rows; position 1
# plays WAV 01..03 with PWM 8 (instruments 7..9), ten rows each. ENV 255
# keeps the level nearly flat.
events="i=1:1:0:255 i=2:2:0:255 i=3:3:0:255 i=4:4:0:255 i=5:5:0:255 i=6:6:0:255 i=7:1:8:255 i=8:2:8:255 i=9:3:8:255"
for wav in 1 2 3 4 5 6; do events="$events 0:$(((wav - 1) * 4)):n:$wav:2"; done
events="$events 1:0:n:7:2 1:10:n:8:2 1:20:n:9:2"
"$PYTHON" "$TOOL" song "$T/song" 16 $events
"$RENDER" "$T/song" "$T/set.wav" --quiet
zrb_expect_eq "the waveform song renders" 0 $?

row_start() { awk -v p="$1" -v r="$2" 'BEGIN { printf "%.3f", 0.30 + (p * 32 + r) * 0.32 }'; }
spans=""
for wav in 1 2 3 4 5 6; do
    start="$(row_start 0 $(((wav - 1) * 4)))"
    spans="$spans $(awk -v s="$start" 'BEGIN { printf "%.3f:%.3f", s + 0.05, s + 1.23 }')"
done
mapfile -t measured < <("$PYTHON" "$TOOL" notes "$T/set.wav" $spans)
loudest=-200
quietest=0
for wav in 1 2 3 4 5 6; do
    read -r hz db <<<"${measured[$((wav - 1))]}"
    echo "MEASURED: WAV 0$wav at A-2: $hz Hz, $db dBFS RMS"
    zrb_check "WAV 0$wav at A-2 sounds at 440 Hz +-1 ($hz Hz)" in_range "$hz" 439 441
    loudest="$(awk -v a="$loudest" -v b="$db" 'BEGIN { print (b > a) ? b : a }')"
    quietest="$(awk -v a="$quietest" -v b="$db" 'BEGIN { print (b < a) ? b : a }')"
done
spread="$(awk -v a="$loudest" -v b="$quietest" 'BEGIN { printf "%.2f", a - b }')"
zrb_check "WAV 01..06 are within 4 dB RMS of each other (spread $spread dB)" in_range "$spread" 0 4

# PWM 0 keeps the shape of the wave; PWM 8 sweeps the pulse width.
first="$(row_start 0 0)"
steady="$("$PYTHON" "$TOOL" sweep "$T/set.wav" "$(awk -v s="$first" 'BEGIN { print s + 0.02 }')" \
    "$(awk -v s="$first" 'BEGIN { print s + 1.25 }')" 440)"
zrb_check "WAV 01 with PWM 0 keeps its shape (stray $steady)" in_range "$steady" 0 0.05
for k in 0 1 2; do
    start="$(row_start 1 $((k * 10)))"
    stray="$("$PYTHON" "$TOOL" sweep "$T/set.wav" "$(awk -v s="$start" 'BEGIN { print s + 0.02 }')" \
        "$(awk -v s="$start" 'BEGIN { print s + 3.15 }')" 440)"
    zrb_check "WAV 0$((k + 1)) with PWM 8 changes shape over the note (stray $stray)" in_range "$stray" 0.2 2
done

# Stems: one file per channel, the same length, adding up to the mix.
"$PYTHON" "$TOOL" song "$T/four" 4 i=1:1:9:40 i=2:4:0:20 i=3:6:0:30 i=4:7:0:3 \
    0:0:y:1:2 0:8:q:1:2 0:16:n:1:1 0:24:y:1:2
# The same rows on the other three channels, each with its own instrument.
"$PYTHON" - "$T/four" <<'PY'
import sys
path = sys.argv[1]
text = open(path, "rb").read().decode("utf-8")
cells = 32
columns = [list(text[7 + c * cells:7 + (c + 1) * cells]) for c in range(16)]
for channel, instrument, octave in ((1, "2", "1"), (2, "3", "3"), (3, "4", "2")):
    for row in range(0, 32, 4):
        columns[channel][row] = "yqnwyqnw"[row // 4]
        columns[4 + channel][row] = "8"
        columns[8 + channel][row] = instrument
        columns[12 + channel][row] = octave
body = "".join("".join(column) for column in columns)
open(path, "wb").write((text[:7] + body + text[7 + 16 * cells:]).encode("utf-8"))
PY
"$RENDER" "$T/four" "$T/mix.wav" --stems --loops 3 >"$T/summary.txt"
zrb_expect_eq "--stems succeeds" 0 $?
zrb_check "--stems writes mix-1.wav .. mix-4.wav" test -f "$T/mix-1.wav" -a -f "$T/mix-2.wav" -a -f "$T/mix-3.wav" -a -f "$T/mix-4.wav"
zrb_check "one summary line names the file, its length and peak" \
    grep -qE "^$T/mix.wav: [0-9.]+ s, peak -[0-9.]+ dBFS" "$T/summary.txt"
zrb_expect_eq "the summary is one line" 1 "$(wc -l <"$T/summary.txt" | tr -d ' ')"
"$PYTHON" - "$(dirname "$TOOL")" "$T/mix.wav" "$T"/mix-{1,2,3,4}.wav >"$T/stems.txt" <<'PY'
import sys
sys.path.insert(0, sys.argv[1])
import numpy as np
from wav_sound import read_wav
_, mix = read_wav(sys.argv[2])
stems = [read_wav(path)[1] for path in sys.argv[3:]]
lengths = {len(s) for s in stems} | {len(mix)}
silent = sum(1 for s in stems if np.abs(s).max() == 0)
error = np.abs(mix - sum(stems)).max() * 32768 if len(lengths) == 1 else -1
print(len(lengths), silent, "%.1f" % error)
PY
read -r lengths silent error <"$T/stems.txt"
zrb_expect_eq "the stems are as long as the mix" 1 "$lengths"
zrb_expect_eq "every stem sounds" 0 "$silent"
zrb_check "the stems add up to the mix within rounding ($error steps)" in_range "$error" 0 2.5

"$RENDER" "$T/four" "$T/loud.wav" --normalize >"$T/summary.txt"
peak="$("$PYTHON" "$TOOL" peak "$T/loud.wav")"
echo "MEASURED: normalized peak $peak dBFS; $(cat "$T/summary.txt")"
zrb_check "--normalize peaks at -1 dBFS +-0.1 ($peak)" in_range "$peak" -1.1 -0.9
zrb_check "--normalize says the gain applied" grep -qE "normalized by [+-][0-9.]+ dB" "$T/summary.txt"

zrb_finish

#!/usr/bin/env bash
# Pitch table of the waveform set: every WAV selection played at A-2 (PWM 0,
# volume 8, a long envelope) through the export tool, with the measured
# fundamental and RMS level of the note. A change of the set shows at once.
#   ZRB_BUILD_DIR=build bash bench/render/run_pitch.sh
set -u
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${ZRB_BUILD_DIR:-$root/build}"
render="$build/zrbtracker-render"
tool="$root/tests/e2e/tools/export_sound.py"
python=python3
for candidate in /usr/bin/python3 python3; do
    if "$candidate" -c 'import numpy' 2>/dev/null; then python="$candidate"; break; fi
done
[ -x "$render" ] || { echo "pitch: no $render"; exit 1; }
out="$(mktemp -d /tmp/zrb-bench-pitch.XXXXXX)"
trap 'rm -rf "$out"' EXIT

# Speed 16: row r starts 0.30 + 0.32 r seconds in; one note every four rows.
events=""
spans=""
for wav in 1 2 3 4 5 6 7; do
    row=$(((wav - 1) * 4))
    events="$events i=$wav:$wav:0:255 0:$row:n:$wav:2"
    spans="$spans $(awk -v r="$row" 'BEGIN { s = 0.30 + r * 0.32; printf "%.3f:%.3f", s + 0.05, s + 1.23 }')"
done
"$python" "$tool" song "$out/song" 16 $events
"$render" "$out/song" "$out/pitch.wav" --quiet || { echo "pitch: the render failed"; exit 1; }
wav=1
"$python" "$tool" notes "$out/pitch.wav" $spans | while read -r hz db; do
    [ "$wav" = 7 ] && hz="(noise)"
    printf "pitch: WAV 0%d at A-2 (440 Hz)          fundamental %-8s Hz, RMS %6.2f dBFS\n" "$wav" "$hz" "$db"
    wav=$((wav + 1))
done

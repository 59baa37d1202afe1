#!/usr/bin/env bash
# The editor's sound and transport in the real program, with the mix recorded
# through the sound library's wave writer: silence at start-up, the preview of
# a note typed in standby (its pitch, length and that the song stays as it
# was), playing an empty song (the program lives on, silent), and Space, F1
# and F2 moving between standby, editing and playing as the status line shows.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/tools/screen_regions.sh"

WAV_TOOL="$(dirname "${BASH_SOURCE[0]}")/tools/wav_sound.py"
# The sound analysis needs numpy; the system interpreter has it.
PYTHON=python3
for candidate in /usr/bin/python3 python3; do
    if "$candidate" -c 'import numpy' 2>/dev/null; then PYTHON="$candidate"; break; fi
done

STATUS_MESSAGE="176x12+473+0"  # after "Status: "
PATTERN_ROWS="303x384+0+12"    # the 32 rows of the pattern on show
SILENCE=0.0001                 # below this the capture counts as silent

# Seconds of sound in the capture so far, from its size (the header's sizes
# are placeholders while the program runs).
capture_seconds() {
    awk -v size="$(stat -c %s "$CAPTURE")" -v offset="$CAPTURE_OFFSET" -v rate="$CAPTURE_BYTES_PER_SECOND" \
        'BEGIN { printf "%.4f\n", (size - offset) / rate }'
}
capture_reaches() { awk -v now="$(capture_seconds)" -v want="$1" 'BEGIN { exit !(now >= want) }'; }
# wait_capture SECONDS: until the capture holds that much sound.
wait_capture() { zrb_wait_for 60 capture_reaches "$1"; }
at_least() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'; }
in_range() { awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v >= lo && v <= hi) }'; }

zrb_setup
zrb_start_xvfb || exit 1
zrb_make_app_dir
CAPTURE="$ZRB_TMP/capture.wav"
zrb_use_wave_capture "$CAPTURE"
zrb_start_app
zrb_find_window || exit 1
zrb_wait_file "$CAPTURE" 4096 60 || { echo "FAIL: no sound capture"; exit 1; }
read -r CAPTURE_OFFSET CAPTURE_BYTES_PER_SECOND < <("$PYTHON" "$WAV_TOOL" layout "$CAPTURE")
read -r channels rate bits format < <(zrb_wav_info "$CAPTURE")
zrb_log "capture: $channels channels, $rate Hz, $bits bits, format $format"
zrb_check "capture has a known sample format" \
    test "$format/$bits" = 3/32 -o "$format/$bits" = 1/16 -o "$format/$bits" = 1/32

zrb_wait_screen_drawn standby || { echo "FAIL: the screen was never drawn"; exit 1; }

# ---- A note typed in standby sounds as a preview and leaves the song alone.
before_note="$(capture_seconds)"
zrb_key n
zrb_wait_for 10 zrb_app_alive
wait_capture "$(awk -v t="$before_note" 'BEGIN { print t + 0.8 }')" || echo "NOTE: the capture stopped growing"
zrb_screenshot "$ZRB_TMP/after_note.png"
zrb_check "start-up in standby is silent" \
    test "$("$PYTHON" "$WAV_TOOL" peak "$CAPTURE" 0 "$before_note")" = 0.000000
mapfile -t stretches < <("$PYTHON" "$WAV_TOOL" segments "$CAPTURE" | awk -v t="$before_note" '$1 >= t')
zrb_expect_eq "the note sounds once" 1 "${#stretches[@]}"
read -r note_start note_end note_peak <<<"${stretches[0]:-0 0 0}"
note_length="$(awk -v a="$note_start" -v b="$note_end" 'BEGIN { printf "%.3f", b - a }')"
pitch="$("$PYTHON" "$WAV_TOOL" pitch "$CAPTURE" "$before_note")"
zrb_log "note: ${note_length} s from ${note_start} s, peak ${note_peak}, fundamental ${pitch} Hz"
echo "MEASURED: fundamental ${pitch} Hz, length ${note_length} s, peak ${note_peak}"
# Envelope 1 falls to silence in 8 updates of 20 ms; the wave writer keeps
# real time only roughly, so the length has slack.
zrb_check "the note lasts about 160 ms (${note_length} s)" in_range "$note_length" 0.10 0.30
zrb_check "the note is clearly audible (peak ${note_peak})" at_least "$note_peak" 0.005
zrb_check "the note's fundamental is 440 Hz within 1% (${pitch} Hz)" in_range "$pitch" 435.6 444.4
zrb_check "standby leaves the pattern as it was" \
    zrb_region_same "$ZRB_TMP/standby.png" "$ZRB_TMP/after_note.png" "$PATTERN_ROWS"

# ---- F1 plays the empty song: status "Playing...", nothing sounds, no end.
before_play="$(capture_seconds)"
play_started=$SECONDS
zrb_key F1
zrb_check "F1 changes the status line" \
    zrb_shot_until playing 10 changed "$ZRB_TMP/standby.png" "$STATUS_MESSAGE"
wait_capture "$(awk -v t="$before_play" 'BEGIN { print t + 1.2 }')" || echo "NOTE: the capture stopped growing"
while [ $((SECONDS - play_started)) -lt 2 ]; do sleep 0.1; done
zrb_check "program alive after playing the empty song for a second" zrb_app_alive
silence="$("$PYTHON" "$WAV_TOOL" peak "$CAPTURE" "$before_play")"
zrb_check "playing the empty song is silent (peak $silence)" awk -v p="$silence" -v s="$SILENCE" 'BEGIN { exit !(p < s) }'

# ---- The transport: every state has its own status text, and comes back to it.
zrb_key F1
zrb_check "F1 while playing: back to the standby text" \
    zrb_shot_until stopped 10 same "$ZRB_TMP/standby.png" "$STATUS_MESSAGE"
zrb_key space
zrb_check "Space in standby: a new status text (editing)" \
    zrb_shot_until editing 10 changed "$ZRB_TMP/standby.png" "$STATUS_MESSAGE"
zrb_check "the editing text is not the playing text" \
    zrb_region_changed "$ZRB_TMP/editing.png" "$ZRB_TMP/playing.png" "$STATUS_MESSAGE"
zrb_key F2
zrb_check "F2 in editing: the playing text again" \
    zrb_shot_until playing_again 10 same "$ZRB_TMP/playing.png" "$STATUS_MESSAGE"
zrb_key space
zrb_check "Space while playing: standby, not editing" \
    zrb_shot_until standby_again 10 same "$ZRB_TMP/standby.png" "$STATUS_MESSAGE"
zrb_key F2
zrb_check "F2 in standby: playing" \
    zrb_shot_until playing_third 10 same "$ZRB_TMP/playing.png" "$STATUS_MESSAGE"
zrb_key F1
zrb_check "F1 while playing: standby" \
    zrb_shot_until standby_last 10 same "$ZRB_TMP/standby.png" "$STATUS_MESSAGE"

after_transport="$(capture_seconds)"
silence="$("$PYTHON" "$WAV_TOOL" peak "$CAPTURE" "$before_play" "$after_transport")"
zrb_check "the transport alone makes no sound (peak $silence)" \
    awk -v p="$silence" -v s="$SILENCE" 'BEGIN { exit !(p < s) }'

zrb_check "program still running" zrb_app_alive
zrb_close_window
zrb_wait_exit 30
zrb_expect_eq "close exits with 0" 0 "$ZRB_APP_STATUS"
zrb_expect_eq "nothing on standard output" "" "$(cat "$ZRB_TMP/stdout.txt")"
zrb_finish

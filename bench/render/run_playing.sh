#!/usr/bin/env bash
# The tracker playing the demo song under Xvfb: loads "demo" as a user would
# (click the file-name line, type the name, Enter, F12, F1), then measures the
# process's CPU use over a stretch of playback and its peak resident memory.
# The sound goes to OpenAL Soft's wave writer, mixed in real time inside the
# process as a sound card would be, and is checked to be audible.
#   ZRB_BUILD_DIR=build bash bench/render/run_playing.sh
set -u
source "$(dirname "${BASH_SOURCE[0]}")/../../tests/e2e/lib/harness.sh"

seconds="${ZRB_BENCH_SECONDS:-10}"
warmup=2

zrb_setup
zrb_start_xvfb >/dev/null 2>&1 || { echo "playing: Xvfb did not start"; exit 1; }
zrb_make_app_dir
zrb_use_wave_capture "$ZRB_TMP/playing.wav"
zrb_start_app
zrb_find_window >/dev/null 2>&1 || { echo "playing: no tracker window"; exit 1; }
sleep 0.5
zrb_click_at 100 450
zrb_type demo
zrb_key Return F12 F1
sleep "$warmup"

cpu_ticks() { awk '{print $14 + $15}' "/proc/$ZRB_APP_PID/stat"; }
status_kb() { awk -v k="$1:" '$1 == k {print $2}' "/proc/$ZRB_APP_PID/status"; }
tick_rate="$(getconf CLK_TCK)"
start_ticks="$(cpu_ticks)"
start_wall="$(date +%s.%N)"
capture_start="$(stat -c %s "$ZRB_AUDIO_WAV" 2>/dev/null || echo 0)"
sleep "$seconds"
end_ticks="$(cpu_ticks)"
end_wall="$(date +%s.%N)"
peak_kb="$(status_kb VmHWM)"
rss_kb="$(status_kb VmRSS)"

zrb_close_window
zrb_wait_exit 30

# Loudest sample captured during the measured stretch (0 means nothing played).
zrb_wav_data "$ZRB_AUDIO_WAV" "$ZRB_TMP/playing.raw" 2>/dev/null
read -r _ _ bits format < <(zrb_wav_info "$ZRB_AUDIO_WAV" 2>/dev/null || echo "0 0 0 0")
peak="$(python3 - "$ZRB_TMP/playing.raw" "$capture_start" "$bits" "$format" <<'PY'
import array, sys
raw = open(sys.argv[1], "rb").read()
skip, bits, fmt = int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
data = raw[min(skip, len(raw)):]
kind = "f" if fmt == 3 else {16: "h", 32: "i"}.get(bits, "h")
full = 1.0 if fmt == 3 else float(2 ** (bits - 1))
samples = array.array(kind)
samples.frombytes(data[: len(data) - len(data) % samples.itemsize])
print("%.3f" % (max((abs(s) for s in samples), default=0) / full))
PY
)"

awk -v ticks=$((end_ticks - start_ticks)) -v hz="$tick_rate" -v peak="$peak" -v hwm="$peak_kb" -v rss="$rss_kb" \
    -v wall="$(awk -v a="$start_wall" -v b="$end_wall" 'BEGIN { print b - a }')" -v status="$ZRB_APP_STATUS" 'BEGIN {
    printf "playing: CPU while playing the demo     %.4f of one core over %.1f s\n", ticks / hz / wall, wall
    printf "playing: peak resident memory          %.1f MiB (resident at the end %.1f MiB)\n", hwm / 1024, rss / 1024
    printf "playing: loudest captured sample       %s of full scale (0 = silent: the song did not play)\n", peak
    printf "playing: exit status on close          %s\n", status
}'

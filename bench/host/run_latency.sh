#!/usr/bin/env bash
# Key to screen: the shipped program under Xvfb (Mesa's software GL), keys and
# clicks sent through XTEST by zrb_bench_key_to_screen, which reads the window
# every 0.5 ms until the pixels the input changes have changed. Idle: the
# cursor keys in editing (the cursor row moves). Playing the demo: F5 (channel
# 1's on/off label) and a click on the layout switch (a text of the full
# layout). Prints figures only.
#   ZRB_BUILD_DIR=build bash bench/host/run_latency.sh   (ZRB_BENCH_KEYS, default 100)
set -u
source "$(dirname "${BASH_SOURCE[0]}")/../../tests/e2e/lib/harness.sh"

keys="${ZRB_BENCH_KEYS:-100}"
probe="$(find "$ZRB_BUILD_DIR/bench" -type f -name zrb_bench_key_to_screen -perm -u+x 2>/dev/null | head -n 1)"
if [ -z "$probe" ]; then
    echo "key to screen: missing (zrb_bench_key_to_screen needs libxtst-dev)"
    exit 0
fi

zrb_setup
zrb_start_xvfb >/dev/null 2>&1 || { echo "Xvfb did not start"; exit 1; }
zrb_make_app_dir
zrb_start_app 2>/dev/null
zrb_find_window >/dev/null 2>&1 || { echo "no window"; exit 1; }
sleep 0.5

# measure LABEL X Y W H ACTION...: one line of figures with its goal.
measure() {
    local label="$1"
    shift
    printf "%-32s %s  goal: median <= 20 ms, worst <= 30 ms\n" "$label" \
        "$("$probe" "$ZRB_WID" "$keys" "$@" 2>&1)"
}

zrb_key space
sleep 0.3
# Rows 1 to 3 of the pattern, where the cursor row moves between 1 and 2.
measure "idle, cursor Down/Up:" 0 14 300 48 key:Down key:Up

zrb_click_at 100 450
zrb_type demo
zrb_key Return F12 F1
sleep 1
measure "playing, F5 (channel label):" 44 408 56 16 key:F5
measure "playing, click on the layout:" 520 440 110 14 click:540:450

zrb_close_window 2>/dev/null
zrb_wait_exit 30

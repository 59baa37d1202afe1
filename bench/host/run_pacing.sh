#!/usr/bin/env bash
# Pacing benchmark: runs the real program under Xvfb for a while (20 s by
# default, ZRB_BENCH_SECONDS to change) with its update trace switched on
# (ZRB_TRACE_UPDATES=<file>: the host writes one glfwGetTime timestamp per
# update) and prints the update rate, the worst gap between two updates and
# the process's CPU use as a fraction of one core. Prints figures only.
# With ZRB_BENCH_HOG=1 a busy loop keeps the other core loaded while it measures.
#   ZRB_BUILD_DIR=build bash bench/host/run_pacing.sh
set -u
source "$(dirname "${BASH_SOURCE[0]}")/../../tests/e2e/lib/harness.sh"

seconds="${ZRB_BENCH_SECONDS:-20}"
warmup=2

zrb_setup
zrb_start_xvfb || exit 1
zrb_make_app_dir
trace="$ZRB_TMP/updates.txt"
ZRB_APP_EXE=zrbtracker-test
zrb_start_app ZRB_TRACE_UPDATES="$trace"
zrb_find_window || exit 1
zrb_wait_file "$trace" 1 30 || { echo "no update trace written"; exit 1; }
hog_pid=""
if [ "${ZRB_BENCH_HOG:-0}" = 1 ]; then
    bash -c 'while :; do :; done' &
    hog_pid=$!
fi
sleep "$warmup"

cpu_ticks() { awk '{print $14 + $15}' "/proc/$ZRB_APP_PID/stat"; }
tick_rate="$(getconf CLK_TCK)"
start_ticks="$(cpu_ticks)"
start_wall="$(date +%s.%N)"
start_line="$(wc -l <"$trace")"
sleep "$seconds"
end_ticks="$(cpu_ticks)"
end_wall="$(date +%s.%N)"
end_line="$(wc -l <"$trace")"
[ -n "$hog_pid" ] && kill "$hog_pid" 2>/dev/null && wait "$hog_pid" 2>/dev/null

zrb_close_window
zrb_wait_exit 30

# Only whole lines inside the measured stretch.
sed -n "$((start_line + 1)),$((end_line))p" "$trace" | awk \
    -v ticks=$((end_ticks - start_ticks)) -v hz="$tick_rate" \
    -v wall="$(awk -v a="$start_wall" -v b="$end_wall" 'BEGIN { print b - a }')" -v status="$ZRB_APP_STATUS" '
    NR == 1 { first = $1; prev = $1; next }
    { gap = $1 - prev; if (gap > worst) worst = gap; if (min == "" || gap < min) min = gap; prev = $1 }
    END {
        n = NR
        rate = (n - 1) / (prev - first)
        printf "updates measured      %d over %.3f s (program clock)\n", n, prev - first
        printf "updates per second    %.3f  (target 50.00, %+.3f %%)\n", rate, (rate / 50 - 1) * 100
        printf "updates per wall s    %.3f\n", n / wall
        printf "worst gap             %.2f ms  (shortest %.2f ms)\n", worst * 1000, min * 1000
        printf "CPU use               %.4f of one core over %.1f s\n", ticks / hz / wall, wall
        printf "exit status on close  %s\n", status
    }'

#!/usr/bin/env bash
# GL draw calls per full tracker layout and per ordinary frame, and the CPU
# time of those frames through the drawing state and the real driver over a
# GL that only counts. Builds the benchmark in the given build folder first.
#   ZRB_BUILD_DIR=build-rel bash bench/graphics/run_draw_calls.sh
set -u
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${ZRB_BUILD_DIR:-$root/build}"
log="$(mktemp /tmp/zrb-draw-calls.XXXXXX)"
trap 'rm -f "$log"' EXIT
if ! cmake --build "$build" --target zrb_bench_screen_draw_calls -j2 >"$log" 2>&1; then
    tail -n 30 "$log"
    exit 1
fi
"$build/bench/graphics/zrb_bench_screen_draw_calls" "$build"

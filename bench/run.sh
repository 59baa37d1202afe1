#!/usr/bin/env bash
# Builds the Release configuration into build/ and prints every benchmark of
# the project, one figure a line with its unit, each line prefixed by the part
# it measures. Benchmarks that are not in the tree are reported as missing.
#   bench/run.sh                     (ZRB_BUILD_DIR=other/dir to use another build folder)
#   ZRB_BENCH_SECONDS=N              length of the Xvfb measurements (default 20 s pacing, 30 s cpu, 10 s playing)
set -u
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ZRB_BUILD_DIR:-$root/build}"
export ZRB_BUILD_DIR="$build"

# /usr/bin/time measures the export's peak memory; install it where we may.
if [ ! -x /usr/bin/time ] && [ "$(id -u)" -eq 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 install -y -qq time >/dev/null 2>&1
fi

echo "== building Release in $build"
log="$(mktemp /tmp/zrb-bench-build.XXXXXX)"
trap 'rm -f "$log"' EXIT
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >"$log" 2>&1 || { tail -n 30 "$log"; exit 1; }
# Only what the benchmarks run: the programs, their data and the bench programs.
wanted="zrbtracker zrbtracker-test zrb_bench_bare_window zrbtracker-render zrb_wmclose zrb_waveforms zrb_images zrb_demosong
        zrb_bench_audio zrb_bench_audio_resume zrb_bench_player zrb_bench_screen zrb_bench_graphics zrb_bench_screen_draw_calls
        zrb_bench_song_list zrb_bench_key_to_screen"
known="$(cmake --build "$build" --target help 2>/dev/null | awk '{print $2}')"
# A target that fails to build is reported; the benchmarks that need it are skipped.
built=" "
for t in $wanted; do
    grep -qx "$t" <<<"$known" || continue
    if cmake --build "$build" -j"$(nproc)" --target "$t" >"$log" 2>&1; then
        built="$built$t "
    else
        echo "build: $t failed:"
        grep -m 5 -E "error|Error" "$log" | sed 's/^/build:   /'
    fi
done
has() { [[ "$built" == *" $1 "* ]]; }

# run_part NAME CMD...: the command's lines, each prefixed with NAME.
run_part() {
    local name="$1"
    shift
    echo "== $name"
    "$@" 2>&1 | sed -u "s/^/$name: /"
}

bench_program() {  # the path of a bench program, empty when it is not built
    find "$build/bench" -type f -name "$1" -perm -u+x 2>/dev/null | head -n 1
}

for program in zrb_bench_player zrb_bench_audio zrb_bench_audio_resume zrb_bench_screen zrb_bench_graphics zrb_bench_screen_draw_calls \
    zrb_bench_song_list; do
    path="$(bench_program "$program")"
    part="${program#zrb_bench_}"
    if has "$program" && [ -n "$path" ]; then
        run_part "$part" "$path"
    else
        echo "== $part"
        echo "$part: missing ($program is not in this tree or did not build)"
    fi
done

if ! has zrbtracker || ! has zrb_wmclose; then
    echo "pacing: skipped (the tracker did not build)"
    echo "playing: skipped (the tracker did not build)"
elif [ -f "$root/bench/host/run_pacing.sh" ]; then
    echo "== pacing (the real program under Xvfb, idle)"
    bash "$root/bench/host/run_pacing.sh" 2>/dev/null | grep -v '^\[e2e\]' | sed -u "s/^/pacing: /"
    echo "== pacing with the other core busy"
    ZRB_BENCH_HOG=1 bash "$root/bench/host/run_pacing.sh" 2>/dev/null | grep -v '^\[e2e\]' | sed -u "s/^/pacing under load: /"
else
    echo "pacing: missing (bench/host/run_pacing.sh is not in this tree)"
fi
if has zrbtracker && has zrbtracker-test && has zrb_wmclose && [ -f "$root/bench/host/run_cpu.sh" ]; then
    echo "== cpu (idle and playing, designed drawing against drawing only what changed; start-up)"
    bash "$root/bench/host/run_cpu.sh" 2>/dev/null | grep -v '^\[e2e\]' | sed -u "s/^/cpu: /"
fi
if has zrbtracker && has zrb_wmclose; then
    echo "== latency (key to screen, the real program under Xvfb; key to sound is audio_resume above)"
    if has zrb_bench_key_to_screen; then
        bash "$root/bench/host/run_latency.sh" 2>/dev/null | grep -v '^\[e2e\]' | sed -u "s/^/latency: /"
    else
        echo "latency: missing (zrb_bench_key_to_screen needs libxtst-dev)"
    fi
fi
if has zrbtracker && has zrb_wmclose; then
    echo "== playing (the real program under Xvfb, demo song)"
    bash "$root/bench/render/run_playing.sh" 2>/dev/null | grep -v '^\[e2e\]'
fi

echo "== export"
if has zrbtracker-render && has zrb_demosong; then
    bash "$root/bench/render/run_export.sh"
    echo "== pitch table (each WAV selection at A-2, rendered)"
    bash "$root/bench/render/run_pitch.sh"
else
    echo "export: skipped (zrbtracker-render or the demo song did not build)"
fi

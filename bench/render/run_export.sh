#!/usr/bin/env bash
# Export benchmark: how many seconds of audio zrbtracker-render writes per
# second of wall time (and of CPU time, which a loaded machine disturbs less)
# for the demo song, best of three runs, per output format, and the export's
# peak resident memory. Prints figures only.
#   ZRB_BUILD_DIR=build bash bench/render/run_export.sh
set -u
build="${ZRB_BUILD_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build}"
render="$build/zrbtracker-render"
song="$build/data/songs/demo"
loops="${ZRB_BENCH_LOOPS:-20}"

[ -x "$render" ] || { echo "export: no $render"; exit 1; }
[ -f "$song" ] || { echo "export: no demo song at $song"; exit 1; }
out="$(mktemp -d /tmp/zrb-bench-export.XXXXXX)"
trap 'rm -rf "$out"' EXIT

now() { date +%s.%N; }

# timed_render FILE: one export; prints "WALL_SECONDS CPU_SECONDS"
timed_render() {
    local start end
    if [ -x /usr/bin/time ]; then
        /usr/bin/time -f "%e %U %S" -o "$out/time.txt" "$render" "$song" "$1" --loops "$loops" --quiet || return 1
        awk '{ print $1, $2 + $3 }' "$out/time.txt"
    else
        start="$(now)"
        "$render" "$song" "$1" --loops "$loops" --quiet || return 1
        end="$(now)"
        awk -v a="$start" -v b="$end" 'BEGIN { print b - a, 0 }'
    fi
}

# best_speed FILE RUNS: prints "AUDIO_SECONDS BEST_WALL_SECONDS BEST_CPU_SECONDS"
best_speed() {
    local file="$1" runs="$2" best_wall="" best_cpu="" wall cpu i
    for i in $(seq 1 "$runs"); do
        read -r wall cpu < <(timed_render "$file") || return 1
        best_wall="$(awk -v a="$best_wall" -v b="$wall" 'BEGIN { print (a == "" || b < a) ? b : a }')"
        best_cpu="$(awk -v a="$best_cpu" -v b="$cpu" 'BEGIN { print (a == "" || b < a) ? b : a }')"
    done
    echo "$(soxi -D "$file") $best_wall $best_cpu"
}

"$render" "$song" "$out/one.wav" --quiet || { echo "export: the demo song does not render"; exit 1; }
awk -v d="$(soxi -D "$out/one.wav")" 'BEGIN {
    printf "export: demo song, one pass            %.2f s of audio (plus 1 s tail)\n", d - 1 }'

for format in wav flac ogg; do
    runs=3
    [ "$format" = ogg ] && runs=1
    read -r audio wall cpu < <(best_speed "$out/demo.$format" "$runs") || { echo "export: $format failed"; continue; }
    awk -v f="$format" -v a="$audio" -v w="$wall" -v c="$cpu" -v n="$loops" 'BEGIN {
        printf "export: speed %-4s (wall)              %.0f s of audio per wall second (%.1f s in %.2f s; target > 500)\n", f, a / w, a, w
        if (c > 0) printf "export: speed %-4s (CPU)               %.0f s of audio per CPU second\n", f, a / c }'
done

if [ -x /usr/bin/time ]; then
    for format in wav ogg; do
        kb="$(/usr/bin/time -f %M "$render" "$song" "$out/mem.$format" --loops "$loops" --quiet 2>&1 >/dev/null | tail -n 1)"
        awk -v f="$format" -v kb="$kb" 'BEGIN { printf "export: peak resident memory, %-4s    %.1f MiB\n", f, kb / 1024 }'
    done
else
    echo "export: peak resident memory          n/a (install the Debian package time)"
fi

#!/usr/bin/env bash
# Export benchmark: how many seconds of audio zrbtracker-render writes per
# second of wall time for the demo song (best of three runs), per output
# format, and the export's peak resident memory. Prints figures only.
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

# best_speed FILE RUNS: prints "AUDIO_SECONDS BEST_WALL_SECONDS"
best_speed() {
    local file="$1" runs="$2" best="" start end wall i
    for i in $(seq 1 "$runs"); do
        start="$(now)"
        "$render" "$song" "$file" --loops "$loops" --quiet || return 1
        end="$(now)"
        wall="$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')"
        best="$(awk -v a="$best" -v b="$wall" 'BEGIN { print (a == "" || b < a) ? b : a }')"
    done
    echo "$(soxi -D "$file") $best"
}

pass_seconds="$(awk -v d="$(soxi -D "$("$render" "$song" "$out/one.wav" --quiet && echo "$out/one.wav")")" \
    'BEGIN { printf "%.2f", d - 1 }')"
echo "export: demo song one pass             $pass_seconds s of audio (plus 1 s tail)"

for format in wav flac ogg; do
    runs=3
    [ "$format" = ogg ] && runs=1
    read -r audio wall < <(best_speed "$out/demo.$format" "$runs") || { echo "export: $format failed"; continue; }
    awk -v f="$format" -v a="$audio" -v w="$wall" -v n="$loops" 'BEGIN {
        printf "export: speed %-5s                    %.0f s of audio per wall second (%.1f s in %.3f s, %d loops; target > 500)\n",
               f, a / w, a, w, n }'
done

if [ -x /usr/bin/time ]; then
    for format in wav ogg; do
        kb="$(/usr/bin/time -f %M "$render" "$song" "$out/mem.$format" --loops "$loops" --quiet 2>&1 >/dev/null | tail -n 1)"
        awk -v f="$format" -v kb="$kb" 'BEGIN { printf "export: peak resident memory (%s)       %.1f MiB\n", f, kb / 1024 }'
    done
else
    echo "export: peak resident memory          n/a (install the Debian package time)"
fi

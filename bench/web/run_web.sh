#!/usr/bin/env bash
# The page's figures: bytes of each file the browser loads (plain and gzip -9),
# then page_figures.js in headless Chromium, then the desktop's figures from
# bench/host/run_cpu.sh for comparison (skipped with ZRB_BENCH_NO_DESKTOP=1).
#   bash bench/web/run_web.sh   (ZRB_WEB_DIR, default build-web; ZRB_BENCH_SECONDS, default 20)
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
web_dir="${ZRB_WEB_DIR:-$root/build-web}"
seconds="${ZRB_BENCH_SECONDS:-20}"

total=0
total_gzip=0
for file in index.html page.js page.css zrbtracker.js zrbtracker.wasm zrbtracker.data; do
    plain=$(stat -c %s "$web_dir/$file")
    packed=$(gzip -9 -c "$web_dir/$file" | wc -c)
    total=$((total + plain))
    total_gzip=$((total_gzip + packed))
    echo "web_bytes_$file $plain bytes, gzip $packed bytes"
done
echo "web_bytes_total $total bytes, gzip $total_gzip bytes"
node "$here/page_figures.js" "$web_dir" "$seconds"
if [ "${ZRB_BENCH_NO_DESKTOP:-0}" != 1 ]; then
    echo "desktop, for comparison (bench/host/run_cpu.sh):"
    ZRB_BUILD_DIR="${ZRB_BUILD_DIR:-$root/build}" ZRB_BENCH_SECONDS="$seconds" bash "$root/bench/host/run_cpu.sh"
fi

#!/usr/bin/env bash
# The page end to end in headless Chromium (tests/web/run.js), against what
# the desktop program shows and plays after the same keys: the desktop's
# window is captured under Xvfb with the e2e harness, its demo level and
# pitches come from the export tool (the tracker's own player).
# Environment: ZRB_BUILD_DIR (the desktop build, default build/),
# ZRB_WEB_DIR (the built page, default build-web/).
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
export ZRB_BUILD_DIR="${ZRB_BUILD_DIR:-$root/build}"
web_dir="${ZRB_WEB_DIR:-$root/build-web}"
source "$root/tests/e2e/lib/harness.sh"

zrb_start
references="$ZRB_TMP/desktop"
mkdir -p "$references"
zrb_pause 0.5
zrb_screenshot "$references/desktop-start.png"
zrb_click_at 200 449
zrb_type "demo"
zrb_key Return F12
zrb_pause 0.5
zrb_screenshot "$references/desktop-demo.png"
zrb_key space q 2 w
zrb_pause 0.5
zrb_screenshot "$references/desktop-notes.png"
zrb_key question
zrb_pause 0.5
zrb_screenshot "$references/desktop-help.png"
zrb_key Escape
zrb_close_window
zrb_wait_exit 30

# The first three seconds after the first sound, both channels, as the page's
# tap takes them; the render itself is the reference for the pitches.
"$ZRB_BUILD_DIR/zrbtracker-render" "$ZRB_BUILD_DIR/data/songs/demo" "$references/demo.wav" --quiet || exit 1
python3 - "$references/demo.wav" >"$references/demo-rms.txt" <<'PY' || exit 1
import array, math, sys, wave
with wave.open(sys.argv[1]) as w:
    rate = w.getframerate()
    frames = array.array('h', w.readframes(w.getnframes()))
samples = [v / 32768.0 for v in frames]
first = next(i for i, v in enumerate(samples) if abs(v) > 1e-4) // 2 * 2
part = samples[first:first + 6 * rate]
print(math.sqrt(sum(v * v for v in part) / len(part)))
PY

# The pitch measurement needs numpy (Debian's python3 has it; another python3 may come first on PATH).
python=python3
for candidate in /usr/bin/python3 python3; do
    if "$candidate" -c 'import numpy' 2>/dev/null; then python="$candidate"; break; fi
done
node "$here/run.js" "$web_dir" "$references" "$ZRB_TMP/page" "$python"
status=$?
[ "$status" -ne 0 ] && ZRB_KEEP_TMP=1
exit "$status"

#!/usr/bin/env bash
# Draws with the real driver under Xvfb (Mesa llvmpipe) and reads the back
# buffer: exact colours of rects, lines, an image, text and premultiplied
# blending; then frames that draw only a strip must keep the rest, also when
# the back buffer is filled with garbage at the start of every frame. Both ways
# of keeping frames are run: the offscreen framebuffer and copies of the back
# buffer (ZRB_KEPT_FRAMES=copy); the offscreen one both with partial copies to
# the window and with whole frames swapped (ZRB_PRESENT=swap).
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="${ZRB_BUILD_DIR:-$here/../../build}"
probe="$build/tests/e2e/graphics_probe/zrb_graphics_probe"
if [ ! -x "$probe" ]; then
    echo "FAIL: probe not built at $probe"
    exit 1
fi
command -v Xvfb >/dev/null || { echo "FAIL: Xvfb missing"; exit 1; }

work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    echo "FAIL: Xvfb did not start"; cat "$work/xvfb.log"; exit 1
fi
export DISPLAY=":$(head -n1 "$work/display")"
export LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe

status=0
run() {  # run NAME ENV... -- ARGS...
    local name="$1"; shift
    echo "--- $name"
    if env "$@"; then echo "ok: $name"; else echo "FAIL: $name"; status=1; fi
}
run "readback and kept frames" ZRB_GARBAGE_BACKBUFFER=0 "$probe" "$build"
run "kept frames over a garbage back buffer" ZRB_GARBAGE_BACKBUFFER=1 "$probe" "$build"
run "whole frames swapped" ZRB_PRESENT=swap ZRB_GARBAGE_BACKBUFFER=0 "$probe" "$build"
run "whole frames swapped over a garbage back buffer" ZRB_PRESENT=swap ZRB_GARBAGE_BACKBUFFER=1 "$probe" "$build"
run "copied frames" ZRB_KEPT_FRAMES=copy ZRB_GARBAGE_BACKBUFFER=0 "$probe" "$build"
run "copied frames over a garbage back buffer" ZRB_KEPT_FRAMES=copy ZRB_GARBAGE_BACKBUFFER=1 "$probe" "$build"
run "garbage shows without kept frames" ZRB_GARBAGE_BACKBUFFER=1 "$probe" "$build" --expect-garbage
exit $status

#!/usr/bin/env bash
# Makes docs/screenshot.png for the README: builds (unless ZRB_BUILD_DIR names
# a finished build), starts the tracker under a private Xvfb, loads the demo
# song, switches to editing and takes a screenshot of the window.
# Usage: scripts/screenshot.sh [OUTPUT.png]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
output="${1:-$ZRB_ROOT/docs/screenshot.png}"
case "$output" in /*) ;; *) output="$PWD/$output" ;; esac

if [ -z "${ZRB_BUILD_DIR:-}" ]; then
    zrb_install_packages $ZRB_BUILD_PACKAGES xvfb xdotool x11-utils imagemagick
    zrb_build build Release
    export ZRB_BUILD_DIR="$ZRB_ROOT/build"
fi

set +e
source "$ZRB_ROOT/tests/e2e/lib/harness.sh"
zrb_start
zrb_pause 0.5
# The file-name line, the demo song's name, Enter, then F12 loads it.
zrb_click_at 200 449
zrb_type "demo"
zrb_key Return F12
zrb_pause 0.3
zrb_key space Down Down Down Down
zrb_pause 0.5
mkdir -p "$(dirname "$output")"
zrb_screenshot "$output"
status=$?
zrb_close_window
zrb_wait_exit 30
[ "$status" -eq 0 ] && [ -s "$output" ] || { echo "no screenshot made" >&2; exit 1; }
echo "wrote $output"

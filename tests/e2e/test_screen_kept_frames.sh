#!/usr/bin/env bash
# Frames without a full layout keep what earlier frames drew by construction,
# not by luck of the window system: with the back buffer filled with garbage
# (magenta) at the start of every frame, the screen looks exactly as usual.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/harness.sh"

count_magenta() {  # count_magenta PNG: pixels of the garbage colour
    python3 - <(convert "$1" -depth 8 rgb:-) <<'PY'
import sys
d = open(sys.argv[1], "rb").read()
print(sum(1 for i in range(0, len(d), 3) if d[i] > 250 and d[i + 1] < 5 and d[i + 2] > 250))
PY
}

ZRB_APP_EXE=zrbtracker-test
zrb_start ZRB_GARBAGE_BACKBUFFER=1
zrb_pause 0.5
zrb_key space
zrb_key q
zrb_key w e
zrb_key Down
zrb_key Right Right
zrb_key z
zrb_pause 0.5
zrb_screenshot "$ZRB_TMP/notes.png"
zrb_check "no garbage pixel while editing" test "$(count_magenta "$ZRB_TMP/notes.png")" -eq 0
differing="$(compare -metric AE -fuzz 3% "$ZRB_REPO_DIR/tests/reference/screen_with_notes.png" \
    "$ZRB_TMP/notes.png" "$ZRB_TMP/diff.png" 2>&1 | cut -d' ' -f1)"
zrb_check "same screen as with kept back-buffer pixels ($differing differ)" test "${differing%%.*}" -le 40

# Playing with follow off never redraws the layout: every frame after the
# first is kept pixels plus the marker, meters and status line.
zrb_key F9
zrb_key F1
zrb_pause 1.0
zrb_screenshot "$ZRB_TMP/playing.png"
zrb_check "no garbage pixel while playing" test "$(count_magenta "$ZRB_TMP/playing.png")" -eq 0
convert "$ZRB_TMP/notes.png" -crop 290x300+0+100 +repage "$ZRB_TMP/notes-rows.png"
convert "$ZRB_TMP/playing.png" -crop 290x300+0+100 +repage "$ZRB_TMP/playing-rows.png"
# The marker lines cross the rows, so a few hundred pixels may differ; garbage
# would make tens of thousands differ.
differing="$(compare -metric AE -fuzz 3% "$ZRB_TMP/notes-rows.png" "$ZRB_TMP/playing-rows.png" null: 2>&1 | cut -d' ' -f1)"
zrb_check "pattern rows kept while playing ($differing differ)" test "${differing%%.*}" -lt 2000

zrb_close_window
zrb_wait_exit 30
zrb_expect_eq "close exits with 0" 0 "$ZRB_APP_STATUS"
zrb_finish

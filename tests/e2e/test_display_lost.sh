#!/usr/bin/env bash
# The X server closing under the tracker: the unsaved note is kept in
# data/songs/autosave before the program ends, with status 1 as before.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/tools/screen_regions.sh"

PATTERN_ROWS="303x384+0+12"

zrb_setup
zrb_start_xvfb || exit 1
zrb_make_app_dir
SONGS="$ZRB_APP_DIR/data/songs"
rm -f "$SONGS"/autosave*
zrb_start_app
zrb_find_window || exit 1
zrb_wait_screen_drawn start || { echo "FAIL: the screen was never drawn"; exit 1; }

zrb_key space
zrb_screenshot "$ZRB_TMP/before-note.png"
zrb_key q
zrb_shot_until note 10 changed "$ZRB_TMP/before-note.png" "$PATTERN_ROWS" || zrb_log "the note did not show"

# The server shuts down and drops every client, as when the session ends.
zrb_kill_pid "$ZRB_XVFB_PID"
ZRB_XVFB_PID=""
zrb_wait_exit 30
zrb_expect_eq "losing the display ends the program with 1" 1 "$ZRB_APP_STATUS"
zrb_check "the display's loss wrote data/songs/autosave" test -f "$SONGS/autosave"
zrb_expect_eq "the autosave holds the unsaved note" q \
    "$(python3 -c 'import sys; print(open(sys.argv[1], "rb").read().decode("utf-8")[7])' "$SONGS/autosave" 2>/dev/null)"
zrb_finish

#!/usr/bin/env bash
# Work is not lost, with the real program: closing with an unsaved note leaves
# it in data/songs/autosave, and the next start-up says so; saving twice keeps the first version as NAME.bak;
# names reaching outside the songs folder are refused and write nothing there;
# a PNG and a text file do not load as songs; Ctrl+Z and Ctrl+Y undo and
# redo a note; SIGTERM keeps an unsaved note in the autosave and ends the
# program with 143, and the earlier session's autosave moves to autosave.1.
# With a folder in the autosave's place, F12 over unsaved work keeps the song
# and says "Loading Failed!", and closing leaves the work in the fallback
# folder outside data/, named on stderr.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/tools/screen_regions.sh"

STATUS_MESSAGE="176x12+473+0"
PATTERN_ROWS="303x384+0+12"
FILE_NAME_LINE="380x13+0+441"
FILE_NAME_X=100
FILE_NAME_Y=450

# step NAME KEY REGION: press KEY, then wait until REGION shows it.
step() {
    zrb_screenshot "$ZRB_TMP/$1-before.png"
    zrb_key "$2"
    zrb_shot_until "$1" 10 changed "$ZRB_TMP/$1-before.png" "$3" || { zrb_log "key $2 did not change $3"; return 1; }
}

key_name() {
    case "$1" in
        .) echo period ;;
        /) echo slash ;;
        *) echo "$1" ;;
    esac
}

# set_name PREFIX OLD NEW: starts typing the file name, erases OLD's
# characters, types NEW and ends with Return.
set_name() {
    local prefix="$1" old="$2" new="$3" i
    zrb_screenshot "$ZRB_TMP/$prefix-click-before.png"
    zrb_click_at "$FILE_NAME_X" "$FILE_NAME_Y"
    zrb_shot_until "$prefix-click" 10 changed "$ZRB_TMP/$prefix-click-before.png" "$FILE_NAME_LINE" || return 1
    for ((i = 0; i < ${#old}; i++)); do step "$prefix-bs$i" BackSpace "$FILE_NAME_LINE" || return 1; done
    for ((i = 0; i < ${#new}; i++)); do step "$prefix-$i" "$(key_name "${new:i:1}")" "$FILE_NAME_LINE" || return 1; done
    step "$prefix-enter" Return "$FILE_NAME_LINE"
}

# first_note FILE: the first cell of channel 1 in a saved song.
first_note() { python3 -c 'import sys; print(open(sys.argv[1], "rb").read().decode("utf-8")[7])' "$1"; }

zrb_start
SONGS="$ZRB_APP_DIR/data/songs"
OUTSIDE="/tmp/zrbsafety$$"
rm -f "$ZRB_APP_DIR/data/x" "$OUTSIDE"
zrb_wait_screen_drawn start || { echo "FAIL: the screen was never drawn"; exit 1; }

# ---- Closing with an unsaved note.
zrb_key space
step note-q q "$PATTERN_ROWS" || zrb_log "the note did not show"
zrb_close_window
zrb_wait_exit 30
zrb_expect_eq "the close still exits with 0" 0 "$ZRB_APP_STATUS"
zrb_check "the close wrote data/songs/autosave" test -f "$SONGS/autosave"
zrb_expect_eq "the autosave holds the unsaved note" q "$(first_note "$SONGS/autosave")"

# ---- F11 twice: NAME.bak holds the first version.
zrb_start_app
zrb_find_window || exit 1
zrb_wait_screen_drawn second || { echo "FAIL: the second screen was never drawn"; exit 1; }
zrb_check "after a close that kept unsaved work the start-up status says so" \
    zrb_region_changed "$ZRB_TMP/start.png" "$ZRB_TMP/second.png" "$STATUS_MESSAGE"
set_name tune "" tune || { echo "FAIL: typing the name tune"; zrb_finish; }
zrb_key F11
zrb_check "F11 writes tune" zrb_wait_file "$SONGS/tune" 1675 30
cp "$SONGS/tune" "$ZRB_TMP/tune_first"
zrb_key space
step note-w w "$PATTERN_ROWS" || zrb_log "the note did not show"
zrb_key F11
zrb_check "the second F11 keeps the first version as tune.bak" zrb_wait_for 30 cmp -s "$SONGS/tune.bak" "$ZRB_TMP/tune_first"
zrb_expect_eq "tune holds the new note" w "$(first_note "$SONGS/tune")"
zrb_screenshot "$ZRB_TMP/saved.png"

# ---- Names reaching outside the songs folder.
set_name up tune "../x" || { echo "FAIL: typing ../x"; zrb_finish; }
zrb_key F11
zrb_check "F11 with ../x reports a failure" zrb_shot_until up_saved 10 changed "$ZRB_TMP/saved.png" "$STATUS_MESSAGE"
zrb_key F12
zrb_check "F12 with ../x reports another failure" \
    zrb_shot_until up_loaded 10 changed "$ZRB_TMP/up_saved.png" "$STATUS_MESSAGE"
set_name abs "../x" "$OUTSIDE" || { echo "FAIL: typing $OUTSIDE"; zrb_finish; }
zrb_key F11
zrb_check "F11 with an absolute name reports a failure" \
    zrb_shot_until abs_saved 10 changed "$ZRB_TMP/up_loaded.png" "$STATUS_MESSAGE"
zrb_check "nothing was written beside the songs folder" test ! -e "$ZRB_APP_DIR/data/x"
zrb_check "nothing was written at the absolute name" test ! -e "$OUTSIDE"
zrb_check "the program runs on" zrb_app_alive

# ---- A PNG and a text file are not songs; the song stays as it was.
cp "$ZRB_APP_DIR/data/button1.png" "$SONGS/pic"
printf 'Dear friend,\nthis is a letter.\n' >"$SONGS/letter"
set_name pic "$OUTSIDE" pic || { echo "FAIL: typing pic"; zrb_finish; }
zrb_key F12
zrb_check "F12 with a PNG reports a failure" \
    zrb_shot_until pic_loaded 10 changed "$ZRB_TMP/abs_saved.png" "$STATUS_MESSAGE"
set_name letter pic letter || { echo "FAIL: typing letter"; zrb_finish; }
zrb_key F12
set_name after letter after || { echo "FAIL: typing after"; zrb_finish; }
zrb_key F11
zrb_check "F11 writes after" zrb_wait_file "$SONGS/after" 1675 30
zrb_check "after the refused loads the song is the one saved as tune" cmp "$SONGS/tune" "$SONGS/after"

# ---- Ctrl+Z and Ctrl+Y, then SIGTERM with an unsaved note.
zrb_key space
step note-e e "$PATTERN_ROWS" || zrb_log "the note did not show"
zrb_key ctrl+z
zrb_check "Ctrl+Z takes the note back" zrb_shot_until undone 10 changed "$ZRB_TMP/note-e.png" "$PATTERN_ROWS"
zrb_key ctrl+y
zrb_check "Ctrl+Y brings it again" zrb_shot_until redone 10 same "$ZRB_TMP/note-e.png" "$PATTERN_ROWS"
kill -TERM "$ZRB_APP_PID"
zrb_wait_exit 10
zrb_expect_eq "SIGTERM ends the program with 143" 143 "$ZRB_APP_STATUS"
zrb_check "the autosave holds the note typed after the last save" \
    python3 -c 'import sys; t = open(sys.argv[1], "rb").read().decode("utf-8"); sys.exit(0 if "e" in t[7:7 + 32] else 1)' \
    "$SONGS/autosave"
zrb_expect_eq "the first session's autosave moved down the rotation to autosave.1" q "$(first_note "$SONGS/autosave.1")"

# ---- The autosave blocked by a folder in its place.
rm -f "$SONGS"/autosave*
mkdir "$SONGS/autosave"
STATE_HOME="$ZRB_TMP/state"
zrb_start_app XDG_STATE_HOME="$STATE_HOME"
zrb_find_window || exit 1
zrb_wait_screen_drawn blocked || { echo "FAIL: the fourth screen was never drawn"; exit 1; }
set_name blocked "" tune || { echo "FAIL: typing tune"; zrb_finish; }
zrb_key space
step note-r r "$PATTERN_ROWS" || zrb_log "the note did not show"
zrb_key F12
zrb_check "F12 over unsaved work with the autosave blocked says Loading Failed!" \
    zrb_shot_until blocked_load 10 same "$ZRB_TMP/up_loaded.png" "$STATUS_MESSAGE"
zrb_check "the unsaved song stays on screen" zrb_region_same "$ZRB_TMP/note-r.png" "$ZRB_TMP/blocked_load.png" "$PATTERN_ROWS"
zrb_close_window
zrb_wait_exit 30
zrb_expect_eq "the close with the autosave blocked still exits with 0" 0 "$ZRB_APP_STATUS"
zrb_check "stderr names the fallback file" grep -qF "unsaved work written to $STATE_HOME/zrbtracker/autosave" "$ZRB_TMP/stderr.txt"
zrb_expect_eq "the fallback file holds the unsaved note" r "$(first_note "$STATE_HOME/zrbtracker/autosave")"
zrb_check "the folder in the way is left alone" test -d "$SONGS/autosave"
rm -f "$OUTSIDE"
zrb_finish

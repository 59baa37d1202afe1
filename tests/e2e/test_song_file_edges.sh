#!/usr/bin/env bash
# Song files at the edges, with the real program: stale temporary save files
# are swept at start-up (young ones stay), F11 through a symbolic link writes
# the linked file and keeps the link, F12 on a FIFO says "Loading Failed!" at
# once and the program still closes with status 0; a second start without the
# font names it on standard error and makes a missing songs folder.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/tools/screen_regions.sh"

STATUS_MESSAGE="176x12+473+0"  # after "Status: "
FILE_NAME_LINE="380x13+0+441"  # the typed name and, while typing, its caret
FILE_NAME_X=100                # a point inside the file-name line's button
FILE_NAME_Y=450

# press NAME KEY: press KEY and wait until the file-name line shows it.
press() {
    zrb_screenshot "$ZRB_TMP/$1-before.png"
    zrb_key "$2"
    zrb_shot_until "$1" 10 changed "$ZRB_TMP/$1-before.png" "$FILE_NAME_LINE"
}

# enter_name PREFIX TEXT ERASE: starts name entry, erases ERASE characters,
# types TEXT one key at a time, then Enter.
enter_name() {
    local prefix="$1" text="$2" erase="$3" i
    zrb_screenshot "$ZRB_TMP/$prefix-click-before.png"
    zrb_click_at "$FILE_NAME_X" "$FILE_NAME_Y"
    zrb_shot_until "$prefix-click" 10 changed "$ZRB_TMP/$prefix-click-before.png" "$FILE_NAME_LINE" || return 1
    for ((i = 0; i < erase; i++)); do press "$prefix-erase-$i" BackSpace || return 1; done
    for ((i = 0; i < ${#text}; i++)); do press "$prefix-$i" "${text:i:1}" || return 1; done
    press "$prefix-enter" Return
}

zrb_setup
zrb_start_xvfb || exit 1
zrb_make_app_dir
SONGS="$ZRB_APP_DIR/data/songs"
mkdir -p "$SONGS/kept"
printf 'partial' >"$SONGS/.tune~tmp-Ab3dE9"
touch -d '2 hours ago' "$SONGS/.tune~tmp-Ab3dE9"
printf 'partial' >"$SONGS/.busy~tmp-Zz9yX8"  # as if another tracker were saving now
printf 'not ours' >"$SONGS/notes.tmp-old"
printf 'a song typed so' >"$SONGS/tune.tmp-Ab3dE9"  # the name field takes this name
touch -d '2 hours ago' "$SONGS/notes.tmp-old" "$SONGS/tune.tmp-Ab3dE9"
printf 'old' >"$SONGS/kept/tune"
ln -s kept/tune "$SONGS/linked"
mkfifo "$SONGS/pipe"

zrb_start_app
zrb_find_window || exit 1
zrb_wait_screen_drawn start || { echo "FAIL: the screen was never drawn"; exit 1; }

no_stale_temporary() { [ ! -e "$SONGS/.tune~tmp-Ab3dE9" ]; }
zrb_check "a stale temporary save file is gone after start-up" zrb_wait_for 30 no_stale_temporary
zrb_check "a temporary younger than a minute stays" test -e "$SONGS/.busy~tmp-Zz9yX8"
zrb_check "a file of another name pattern stays" test -e "$SONGS/notes.tmp-old"
zrb_check "a song named like an older version's temporary file stays" test -e "$SONGS/tune.tmp-Ab3dE9"

# F12 on a folder's name shows "Loading Failed!": the reference for the FIFO below.
enter_name folder kept 0 || { echo "FAIL: typing the name kept"; zrb_finish; }
zrb_key F12
zrb_shot_until failed 10 changed "$ZRB_TMP/start.png" "$STATUS_MESSAGE" || zrb_log "no status after F12"

# ---- F11 through the link.
enter_name link linked 4 || { echo "FAIL: typing the name linked"; zrb_finish; }
zrb_key F11
zrb_check "F11 through a link writes the linked file" zrb_wait_file "$SONGS/kept/tune" 1675 30
zrb_check "the link is still a link to the same file" test "$(readlink "$SONGS/linked")" = kept/tune
zrb_check "the linked file holds the song" grep -q '^ZRB1' "$SONGS/kept/tune"
zrb_shot_until saved 10 changed "$ZRB_TMP/failed.png" "$STATUS_MESSAGE" || zrb_log "no saved status"

# ---- F12 on a FIFO: refused at once, the program runs on.
enter_name pipe pipe 6 || { echo "FAIL: typing the name pipe"; zrb_finish; }
zrb_key F12
zrb_check "F12 on a FIFO shows \"Loading Failed!\" promptly" \
    zrb_shot_until fifo 10 same "$ZRB_TMP/failed.png" "$STATUS_MESSAGE"
zrb_check "the program still answers" zrb_app_alive
zrb_close_window
zrb_wait_exit 30
zrb_expect_eq "the program closes with status 0" 0 "$ZRB_APP_STATUS"

# ---- Without the font and without the songs folder.
mv "$ZRB_APP_DIR/data/vexafont.png" "$ZRB_TMP/vexafont.png"
rm -rf "$SONGS"
zrb_start_app
zrb_find_window || exit 1
names_font() { grep -q 'vexafont\.png' "$ZRB_TMP/stderr.txt"; }
zrb_check "starting without the font prints a line naming it" zrb_wait_for 30 names_font
zrb_expect_eq "one line about it" 1 "$(grep -c 'vexafont' "$ZRB_TMP/stderr.txt")"
zrb_check "the songs folder is made at start-up" zrb_wait_for 30 test -d "$SONGS"
zrb_close_window
zrb_wait_exit 30
zrb_expect_eq "the program without a font closes with status 0" 0 "$ZRB_APP_STATUS"
zrb_finish

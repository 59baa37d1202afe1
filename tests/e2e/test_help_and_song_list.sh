#!/usr/bin/env bash
# The help page and the song list on the real program: "?" shows the help
# over the screen, the next key only closes it (no note is written); F12 with
# no file name lists three songs newest first, Down and Enter load the second
# newest (its name and instruments arrive, as a save under a new name shows).
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/tools/screen_regions.sh"

PATTERN_ROWS="303x384+0+12"
FILE_NAME_LINE="380x13+0+441"

# write_song FILE INSTRUMENT_NAME: an empty one-pattern song whose instrument
# 1 has the given name.
write_song() {
    python3 - "$1" "$2" <<'PY'
import sys
params = [0] * 249
params[8] = params[12] = 1  # instrument 1: WAV 1, ENV 1
text = "ZRB1" + chr(1) + chr(4) + chr(1) + "." * 128 + "0" * 384 + chr(0) * 256
text += "".join(chr(v) for v in params)
text += sys.argv[2].ljust(21) + " " * 21 * 30
open(sys.argv[1], "wb").write(text.encode("utf-8"))
PY
}

step() {  # step NAME KEY REGION: press KEY, wait until REGION changed
    zrb_screenshot "$ZRB_TMP/$1-before.png"
    zrb_key "$2"
    zrb_shot_until "$1" 10 changed "$ZRB_TMP/$1-before.png" "$3"
}

zrb_setup
zrb_start_xvfb
zrb_make_app_dir
SONGS="$ZRB_APP_DIR/data/songs"
find "$SONGS" -type f -exec touch -d '2001-01-01 00:00' {} +
write_song "$SONGS/alpha" "first"
write_song "$SONGS/beta" "second"
write_song "$SONGS/gamma" "third"
# Newest first is gamma, alpha, beta: neither name order nor its reverse.
touch -d '2020-01-02 10:00' "$SONGS/alpha"
touch -d '2020-01-01 10:00' "$SONGS/beta"
touch -d '2020-01-03 10:00' "$SONGS/gamma"
zrb_start_app
zrb_find_window || exit 1
zrb_wait_screen_drawn start || { echo "FAIL: the screen was never drawn"; exit 1; }

# ---- Help: opens over the pattern, closes on the next key, writes nothing.
zrb_key space
zrb_pause 0.5
zrb_screenshot "$ZRB_TMP/editing.png"
zrb_key question
zrb_check "? shows the help page over the pattern" \
    zrb_shot_until help 10 changed "$ZRB_TMP/editing.png" "$PATTERN_ROWS"
zrb_key q
zrb_check "a key closes the help and the pattern is as before" \
    zrb_shot_until closed 10 same "$ZRB_TMP/editing.png" "$PATTERN_ROWS"
zrb_pause 0.5
zrb_screenshot "$ZRB_TMP/settled.png"
zrb_check "the closing key wrote no note" zrb_region_same "$ZRB_TMP/editing.png" "$ZRB_TMP/settled.png" "$PATTERN_ROWS"
zrb_check "with the help closed the same key writes a note" step note q "$PATTERN_ROWS"

# ---- Song list: newest first; Down, Enter loads the second newest (alpha).
zrb_screenshot "$ZRB_TMP/before-list.png"
zrb_key F12
zrb_check "F12 with no name shows the song list" \
    zrb_shot_until list 10 changed "$ZRB_TMP/before-list.png" "$PATTERN_ROWS"
zrb_key Down
zrb_pause 0.3
zrb_key Return
zrb_check "Enter closes the list and shows the loaded song's name" \
    zrb_shot_until loaded 10 changed "$ZRB_TMP/before-list.png" "$FILE_NAME_LINE"
zrb_click_at 100 450
zrb_pause 0.3
step name-x x "$FILE_NAME_LINE" || zrb_log "the name did not take x"
zrb_key Return
zrb_pause 0.3
zrb_key F11
zrb_check "F11 saves the loaded song as alphax" zrb_wait_file "$SONGS/alphax" 1000 30
zrb_check "alphax holds alpha's instrument name" grep -q "first" "$SONGS/alphax"
zrb_check "alpha itself is unchanged" test "$(stat -c %Y "$SONGS/alpha")" -eq "$(date -d '2020-01-02 10:00' +%s)"
zrb_finish

#!/usr/bin/env bash
# Songs on disk with the real program: the file-name line, F11 writing the new
# song byte for byte, notes saved and loaded back by a second program started
# on the same folder (checked by saving again and by the screen), and F12 with
# a name that has no file keeping the song in memory. The start-up sweep
# removes a save's stale temporary file in a sub-folder and keeps a song the
# user named like one.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/tools/screen_regions.sh"

STATUS_MESSAGE="176x12+473+0"  # after "Status: "
PATTERN_ROWS="303x384+0+12"    # the 32 rows of the pattern on show
FILE_NAME_LINE="380x13+0+441"  # the typed name and, while typing, its caret
BELOW_HEADER="640x463+0+12"    # everything but the header bar with the status
FILE_NAME_X=100                # a point inside the file-name line's button
FILE_NAME_Y=450

# step NAME KEY REGION: press KEY and wait until REGION of the screen shows
# it, so that no key can overtake the one before (a name takes at most one
# typed character per update).
step() {
    local name="$1" key="$2" region="$3"
    zrb_screenshot "$ZRB_TMP/$name-before.png"
    zrb_key "$key"
    if ! zrb_shot_until "$name" 10 changed "$ZRB_TMP/$name-before.png" "$region"; then
        zrb_log "key $key did not change $region"
        return 1
    fi
}

# type_name PREFIX TEXT: starts typing the file name, then one key per character.
type_name() {
    local prefix="$1" text="$2" i
    zrb_screenshot "$ZRB_TMP/$prefix-click-before.png"
    zrb_click_at "$FILE_NAME_X" "$FILE_NAME_Y"
    zrb_shot_until "$prefix-click" 10 changed "$ZRB_TMP/$prefix-click-before.png" "$FILE_NAME_LINE" || return 1
    for ((i = 0; i < ${#text}; i++)); do
        step "$prefix-$i" "${text:i:1}" "$FILE_NAME_LINE" || return 1
    done
}

# name_then KEY PREFIX TEXT: types TEXT onto the file name, Enter, then KEY.
name_then() {
    type_name "$2" "$3" || return 1
    step "$2-enter" Return "$FILE_NAME_LINE" || return 1
    zrb_key "$1"
}

# The bytes of a new song as the program keeps it: "ZRB1", length 1, speed 4,
# one pattern; four note columns of ".", twelve of "0"; 256 positions 0; the
# instrument values, where instrument 1 has WAV 1 and ENV 1 because the panel
# widgets hold the current instrument's values in range from the first update
# on; 31 blank names.
write_new_song() {
    python3 - "$1" <<'PY'
import sys
params = [0] * 249
params[8 * 1 + 0] = 1  # instrument 1, WAV
params[8 * 1 + 4] = 1  # instrument 1, ENV
text = "ZRB1" + chr(1) + chr(4) + chr(1)
text += "." * 32 * 4 + "0" * 32 * 12
text += chr(0) * 256
text += "".join(chr(v) for v in params)
text += " " * 21 * 31
open(sys.argv[1], "wb").write(text.encode("utf-8"))
PY
}

songs_listing() { (cd "$ZRB_APP_DIR/data/songs" && ls -A); }
differs_from() { ! cmp -s "$1" "$2"; }

zrb_setup
zrb_start_xvfb || exit 1
zrb_make_app_dir
SONGS="$ZRB_APP_DIR/data/songs"
# A song typed as "groove.tmp-take01" and a killed save's leftover, both old.
mkdir -p "$SONGS/drums"
write_new_song "$SONGS/groove.tmp-take01"
printf 'half a song' >"$SONGS/drums/.kick~tmp-a1B2c3"
touch -d '10 minutes ago' "$SONGS/groove.tmp-take01" "$SONGS/drums/.kick~tmp-a1B2c3"
zrb_start_app
zrb_find_window || exit 1
zrb_wait_screen_drawn start || { echo "FAIL: the screen was never drawn"; exit 1; }
listing_at_start="$(songs_listing)"
zrb_check "the sweep keeps a song named like a temporary file" test -f "$SONGS/groove.tmp-take01"
zrb_check "the sweep removes a stale temporary in a sub-folder" test ! -e "$SONGS/drums/.kick~tmp-a1B2c3"

# ---- F11 with no name: a message, no file.
zrb_key F11
zrb_check "F11 with no name shows a message" \
    zrb_shot_until no_name 10 changed "$ZRB_TMP/start.png" "$STATUS_MESSAGE"
zrb_expect_eq "F11 with no name writes nothing" "$listing_at_start" "$(songs_listing)"

# ---- The new song, saved as "song1".
write_new_song "$ZRB_TMP/expected_new_song"
zrb_expect_eq "expected new song has 1675 bytes" 1675 "$(stat -c %s "$ZRB_TMP/expected_new_song")"
name_then F11 first song1 || { echo "FAIL: typing the name song1"; zrb_finish; }
zrb_check "F11 writes data/songs/song1" zrb_wait_file "$SONGS/song1" 1675 30
zrb_check "the saved file is the new song byte for byte" cmp "$ZRB_TMP/expected_new_song" "$SONGS/song1"
zrb_check "saving reports a new status" \
    zrb_shot_until saved_new 10 changed "$ZRB_TMP/no_name.png" "$STATUS_MESSAGE"
zrb_expect_eq "only the new file was added" "$(printf '%s\nsong1' "$listing_at_start" | sort)" "$(songs_listing | sort)"

# ---- Notes in the first pattern, saved over song1.
cp "$SONGS/song1" "$ZRB_TMP/song1_new"
zrb_key space
zrb_shot_until editing 10 changed "$ZRB_TMP/saved_new.png" "$STATUS_MESSAGE" || zrb_log "no editing status"
typed_ok=0
# q w e on channel 1 rows 1-3, volume "a" on row 3, "z" on channel 3 row 4;
# the cursor ends on row 5, column 5.
for key in q w e Up Right a Tab Right z; do
    step "note-$key" "$key" "$PATTERN_ROWS" || typed_ok=1
done
zrb_check "every note and cursor key showed on the pattern" test "$typed_ok" -eq 0
zrb_key F11
zrb_check "F11 saves the notes over song1" zrb_wait_for 30 differs_from "$SONGS/song1" "$ZRB_TMP/song1_new"
zrb_expect_eq "notes in pattern 0 keep the file at 1675 bytes" 1675 "$(stat -c %s "$SONGS/song1")"
cp "$SONGS/song1" "$ZRB_TMP/song1_notes"
zrb_check "the saved columns hold the typed notes, instrument 1, octave 2, volumes 8 and A" \
    python3 - "$ZRB_TMP/song1_notes" <<'PY'
import sys
text = open(sys.argv[1], "rb").read().decode("utf-8")
column = lambda k: text[7 + 32 * k:7 + 32 * (k + 1)]
# Channel 1's four columns are 0 (note), 4 (volume), 8 (instrument), 12 (octave).
# The key at the US "z" place is the lower row's C, stored as "y".
ok = column(0)[:3] == "qwe" and column(4)[:3] == "88A" and column(8)[:3] == "111" \
    and column(12)[:3] == "222" and column(2)[3] == "y"
sys.exit(0 if ok else 1)
PY

# Back to standby with the cursor on row 1, column 1, as a new program has it.
zrb_key space
zrb_shot_until standby_again 10 same "$ZRB_TMP/start.png" "$STATUS_MESSAGE" || zrb_log "no standby status"
for key in Up Up Up Up Left Left Left Left; do
    step "home-$key" "$key" "$PATTERN_ROWS" || zrb_log "cursor key $key did not show"
done
zrb_screenshot "$ZRB_TMP/before_close.png"
zrb_close_window
zrb_wait_exit 30
zrb_expect_eq "first program exits with 0" 0 "$ZRB_APP_STATUS"

# ---- A second program on the same folder loads the notes back.
zrb_start_app
zrb_find_window || exit 1
zrb_wait_screen_drawn fresh || { echo "FAIL: the second program's screen was never drawn"; exit 1; }
zrb_check "the second program starts with an empty pattern" \
    zrb_region_changed "$ZRB_TMP/fresh.png" "$ZRB_TMP/before_close.png" "$PATTERN_ROWS"
name_then F12 second song1 || { echo "FAIL: typing the name song1 again"; zrb_finish; }
zrb_check "F12 shows the saved pattern again" \
    zrb_shot_until loaded 10 same "$ZRB_TMP/before_close.png" "$PATTERN_ROWS"
zrb_check "after loading the whole screen but the status is as before closing" \
    zrb_region_same "$ZRB_TMP/before_close.png" "$ZRB_TMP/loaded.png" "$BELOW_HEADER"
zrb_check "loading reports a status" \
    zrb_region_changed "$ZRB_TMP/fresh.png" "$ZRB_TMP/loaded.png" "$STATUS_MESSAGE"

# Saving the loaded song under another name gives the same bytes.
name_then F11 third b || { echo "FAIL: typing the name song1b"; zrb_finish; }
zrb_check "F11 writes data/songs/song1b" zrb_wait_file "$SONGS/song1b" 1675 30
zrb_check "the loaded song saves byte-identical to the first file" cmp "$ZRB_TMP/song1_notes" "$SONGS/song1b"
zrb_shot_until saved_copy 10 changed "$ZRB_TMP/loaded.png" "$STATUS_MESSAGE" || zrb_log "no saved status"

# ---- F12 with a name that has no file keeps the song.
name_then F12 fourth x || { echo "FAIL: typing the name song1bx"; zrb_finish; }
zrb_check "F12 with a missing file shows a failure" \
    zrb_shot_until load_failed 10 changed "$ZRB_TMP/saved_copy.png" "$STATUS_MESSAGE"
zrb_check "the failure text is not the loaded text" \
    zrb_region_changed "$ZRB_TMP/load_failed.png" "$ZRB_TMP/loaded.png" "$STATUS_MESSAGE"
zrb_check "program alive after the failed load" zrb_app_alive
zrb_check "the pattern is kept after the failed load" \
    zrb_region_same "$ZRB_TMP/before_close.png" "$ZRB_TMP/load_failed.png" "$PATTERN_ROWS"
zrb_check "the failed load creates no file" test ! -e "$SONGS/song1bx"
# "song1bx" -> "song1" -> "song1c": the song in memory is still the saved one.
type_name fifth "" || zrb_log "no caret on the file-name line"
step fifth-bs1 BackSpace "$FILE_NAME_LINE" || zrb_log "BackSpace did not show"
step fifth-bs2 BackSpace "$FILE_NAME_LINE" || zrb_log "BackSpace did not show"
step fifth-c c "$FILE_NAME_LINE" || zrb_log "c did not show"
step fifth-enter Return "$FILE_NAME_LINE" || zrb_log "Return did not show"
zrb_key F11
zrb_check "F11 writes data/songs/song1c" zrb_wait_file "$SONGS/song1c" 1675 30
zrb_check "after the failed load the song saves as before" cmp "$ZRB_TMP/song1_notes" "$SONGS/song1c"
# Saving over song1 kept its first version as song1.bak.
zrb_expect_eq "no stray files in the songs folder" \
    "$(printf '%s\nsong1\nsong1.bak\nsong1b\nsong1c' "$listing_at_start" | sort)" "$(songs_listing | sort)"

zrb_close_window
zrb_wait_exit 30
zrb_expect_eq "second program exits with 0" 0 "$ZRB_APP_STATUS"
zrb_finish

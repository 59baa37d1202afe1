#!/usr/bin/env bash
# Drawing only what changed shows exactly what drawing everything shows: one
# scripted session (idle, a typed note, loading the demo, playing, stopping)
# is run on the test build drawing every frame as designed and swapping whole
# frames (ZRB_REDRAW=all ZRB_PRESENT=swap), then with skipping on both present
# paths (rectangles copied to the window, and whole frames swapped), over a
# back buffer filled with garbage every frame. Screenshots taken at the same
# moments must be equal; while playing, the parts that don't move with time.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/tools/screen_regions.sh"

# Regions that hold still while the song plays: header, transport text,
# channel labels, the instrument panel above the meters, the file-name line.
STILL_REGIONS=("640x14+0+0" "120x16+520+323" "380x16+4+408" "250x150+385+12" "640x40+0+435")

session() {  # session NAME VAR=VALUE...: runs the session, screenshots $ZRB_TMP/NAME-*.png
    local name="$1"
    shift
    ZRB_APP_EXE=zrbtracker-test zrb_start_app "$@"
    zrb_find_window || return 1
    zrb_wait_screen_drawn "$name-first" || return 1
    zrb_pause 0.5
    zrb_screenshot "$ZRB_TMP/$name-idle.png"
    zrb_key space q
    zrb_pause 0.6
    zrb_screenshot "$ZRB_TMP/$name-note.png"
    zrb_click_at 100 450
    zrb_type demo
    zrb_key Return F12
    zrb_pause 0.8
    zrb_screenshot "$ZRB_TMP/$name-loaded.png"
    zrb_key F1
    zrb_pause 1.0
    zrb_screenshot "$ZRB_TMP/$name-playing.png"
    zrb_key F1
    zrb_pause 1.5  # the meters sink to their floor
    zrb_screenshot "$ZRB_TMP/$name-stopped.png"
    zrb_close_window
    zrb_wait_exit 30
}

zrb_setup
zrb_start_xvfb || exit 1
zrb_make_app_dir
session designed ZRB_REDRAW=all ZRB_PRESENT=swap || { echo "FAIL: reference session"; exit 1; }

for path in partial swap; do
    session "$path" ZRB_PRESENT="$path" ZRB_GARBAGE_BACKBUFFER=1 || { echo "FAIL: $path session"; exit 1; }
    for moment in idle note loaded stopped; do
        differing="$(zrb_region_differences "$ZRB_TMP/designed-$moment.png" "$ZRB_TMP/$path-$moment.png" 640x475+0+0)"
        zrb_check "$path presents: $moment screen as drawn whole ($differing differ)" test "$differing" -eq 0
    done
    for region in "${STILL_REGIONS[@]}"; do
        differing="$(zrb_region_differences "$ZRB_TMP/designed-playing.png" "$ZRB_TMP/$path-playing.png" "$region")"
        zrb_check "$path presents: playing, $region as drawn whole ($differing differ)" test "$differing" -eq 0
    done
    zrb_expect_eq "$path session exits with 0" 0 "$ZRB_APP_STATUS"
done
zrb_check "the session changed the screen" zrb_region_changed "$ZRB_TMP/designed-idle.png" \
    "$ZRB_TMP/designed-loaded.png" 640x475+0+0
zrb_finish

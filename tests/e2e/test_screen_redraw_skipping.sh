#!/usr/bin/env bash
# Drawing only what changed shows exactly what drawing everything shows: one
# scripted session (idle, a typed note, loading the demo, playing, stopping)
# is run on the test build drawing every frame as designed and swapping whole
# frames (ZRB_REDRAW=all ZRB_PRESENT=swap), then with skipping on both present
# paths (rectangles copied to the window, and whole frames swapped), over a
# back buffer filled with garbage every frame. Screenshots taken at the same
# moments must be equal; while playing, the parts that don't move with time.
# A session whose own typing went wrong (the demo did not load) says so, and
# its later moments are not compared: that is a fault of input, not drawing.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/tools/screen_regions.sh"

# Regions that hold still while the song plays: header, transport text,
# channel labels, the instrument panel above the meters, the file-name line.
STILL_REGIONS=("640x14+0+0" "120x16+520+323" "380x16+4+408" "250x150+385+12" "640x40+0+435")
PATTERN_ROWS="303x384+0+12"

# moment NAME: in the reference run, waits until the step changed the screen
# and settles; in the others, waits until the screen (or, while playing, each
# still region) is what the reference showed at that moment.
moment() {
    local name="$1" region
    [ "$typing_ok" = 1 ] || return 0
    if [ "$run" = designed ]; then
        [ "$name" = idle ] ||
            zrb_shot_until "designed-$name-step" 10 changed "$ZRB_TMP/designed-last.png" 640x475+0+0 ||
                zrb_log "step $name changed nothing"
        zrb_pause 1.5  # the meters sink to their floor
        zrb_screenshot "$ZRB_TMP/designed-$name.png"
        cp "$ZRB_TMP/designed-$name.png" "$ZRB_TMP/designed-last.png"
        return 0
    fi
    if [ "$name" = playing ]; then
        for region in "${STILL_REGIONS[@]}"; do
            zrb_check "$run presents: playing, $region as drawn whole" \
                zrb_shot_until "$run-$name" 10 same "$ZRB_TMP/designed-$name.png" "$region"
        done
    else
        zrb_check "$run presents: $name screen as drawn whole" \
            zrb_shot_until "$run-$name" 10 same "$ZRB_TMP/designed-$name.png" 640x475+0+0
    fi
}

session() {  # session NAME VAR=VALUE...
    run="$1"
    typing_ok=1
    shift
    ZRB_APP_EXE=zrbtracker-test zrb_start_app "$@"
    zrb_find_window || return 1
    zrb_wait_screen_drawn "$run-first" || return 1
    cp "$ZRB_TMP/$run-first.png" "$ZRB_TMP/$run-last.png"
    moment idle
    zrb_key space q
    moment note
    zrb_click_at 100 450
    zrb_type demo
    zrb_key Return
    zrb_pause 0.5
    zrb_screenshot "$ZRB_TMP/$run-named.png"
    zrb_key F12
    # The demo's pattern replaces the typed note; a lost key gives "Loading
    # Failed!" and leaves the pattern as it was.
    if ! zrb_shot_until "$run-demo" 10 changed "$ZRB_TMP/$run-named.png" "$PATTERN_ROWS"; then
        typing_ok=0
        echo "$run session: its own typing went wrong (\"demo\", Enter, F12 did not load the demo);" \
            "its later moments are not compared"
        zrb_check "$run session: its own typing loaded the demo" false
    fi
    moment loaded
    zrb_key F1
    moment playing
    zrb_key F1
    moment stopped
    zrb_close_window
    zrb_wait_exit 30
    zrb_expect_eq "$run session exits with 0" 0 "$ZRB_APP_STATUS"
}

zrb_setup
zrb_start_xvfb || exit 1
zrb_make_app_dir
session designed ZRB_REDRAW=all ZRB_PRESENT=swap || { echo "FAIL: reference session"; exit 1; }
[ "$typing_ok" = 1 ] || { zrb_finish; exit 1; }  # nothing to compare against
for path in partial swap; do
    session "$path" ZRB_PRESENT="$path" ZRB_GARBAGE_BACKBUFFER=1 || { echo "FAIL: $path session"; exit 1; }
done
zrb_check "the session changed the screen" zrb_region_changed "$ZRB_TMP/designed-idle.png" \
    "$ZRB_TMP/designed-loaded.png" 640x475+0+0
zrb_finish

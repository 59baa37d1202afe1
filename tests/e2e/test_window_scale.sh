#!/usr/bin/env bash
# Window scale: Ctrl+Plus doubles the window, which then shows the 1x screen
# scaled exactly with whole pixels; a click on the 2x "save" button saves (the
# pointer is mapped back to the tracker's own units); Ctrl+0 returns to 1x and
# Ctrl+Minus never goes below it. The screen is large enough for 2x only, so
# a further Ctrl+Plus keeps 2x.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/tools/screen_regions.sh"

size() { zrb_geometry | awk '{print $3 "x" $4}'; }
size_is() { [ "$(size)" = "$1" ]; }

ZRB_XVFB_SCREEN=1600x1200x24 zrb_start
zrb_wait_screen_drawn first || { echo "FAIL: the screen was never drawn"; exit 1; }
zrb_expect_eq "the window opens at 1x" 640x475 "$(size)"
zrb_pause 0.5
zrb_screenshot "$ZRB_TMP/one.png"

zrb_key ctrl+plus
zrb_check "Ctrl+Plus makes the window 1280 x 950" zrb_wait_for 10 size_is 1280x950
zrb_key ctrl+plus
zrb_pause 0.5
zrb_expect_eq "3x would not fit the screen: still 2x" 1280x950 "$(size)"
convert "$ZRB_TMP/one.png" -filter point -resize 200% "$ZRB_TMP/one-doubled.png"
zrb_check "the 2x window is the 1x screen scaled exactly" \
    zrb_shot_until two 10 same "$ZRB_TMP/one-doubled.png" 1280x950+0+0

# The file-name line, then "save", clicked where they are drawn at 2x.
zrb_click_at 200 900
zrb_type scaled
zrb_key Return
zrb_click_at 936 900
zrb_check "a click on the 2x save button saves" zrb_wait_file "$ZRB_APP_DIR/data/songs/scaled" 1 30

zrb_key ctrl+0
zrb_check "Ctrl+0 returns to 1x" zrb_wait_for 10 size_is 640x475
zrb_key ctrl+minus
zrb_pause 0.5
zrb_expect_eq "Ctrl+Minus stays at 1x" 640x475 "$(size)"
zrb_check "no note was typed by the scaling keys" \
    zrb_shot_until back 10 same "$ZRB_TMP/one.png" 640x12+0+12
# Back at 1x the whole pattern area is drawn again, not left from before 2x.
zrb_check "the 1x pattern area after 2x is whole" \
    zrb_shot_until back-rows 10 same "$ZRB_TMP/one.png" 640x400+0+24

zrb_close_window
zrb_wait_exit 30
zrb_expect_eq "close exits with 0" 0 "$ZRB_APP_STATUS"
zrb_finish

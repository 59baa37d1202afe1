#!/usr/bin/env bash
# The window: its size and title, that it stays that size, that input bursts
# don't disturb the program, and that the close button ends it with status 0
# and nothing on standard output.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/harness.sh"

zrb_start

read -r _ _ width height < <(zrb_geometry)
zrb_expect_eq "window width" 640 "$width"
zrb_expect_eq "window height" 475 "$height"
zrb_expect_eq "window title" "ZRB Tracker 1.0" "$(zrb_title)"

# Fixed size: the size hints pin the window for any window manager.
hints="$(xprop -id "$ZRB_WID" WM_NORMAL_HINTS)"
zrb_check "minimum size hint is 640 by 475" grep -q "minimum size: 640 by 475" <<<"$hints"
zrb_check "maximum size hint is 640 by 475" grep -q "maximum size: 640 by 475" <<<"$hints"

zrb_screenshot "$ZRB_TMP/shot.png"
zrb_expect_eq "screenshot size" 640x475 "$(identify -format '%wx%h' "$ZRB_TMP/shot.png")"

zrb_close_window
zrb_wait_exit 30
zrb_expect_eq "close button exits with 0" 0 "$ZRB_APP_STATUS"
zrb_expect_eq "nothing on standard output" "" "$(cat "$ZRB_TMP/stdout.txt")"

# Second run: a burst of keys, typed text, clicks and wheel turns first.
zrb_start_app
zrb_find_window || exit 1
zrb_key Return Left Up Right Down BackSpace Delete Home End Prior Next Insert F1 F12 Escape Tab space
zrb_key alt+x KP_Enter Super_L Caps_Lock Caps_Lock
zrb_type "qwertzuiop2356790 asdf"
zrb_key_down a
zrb_pause 0.8  # long enough for auto-repeat
zrb_key_up a
for xy in "10 10" "320 240" "600 450" "100 400"; do
    read -r x y <<<"$xy"
    zrb_click_at "$x" "$y" 1
    zrb_click 3
    zrb_click 2
    zrb_wheel up 3
    zrb_wheel down 2
done
zrb_check "program survives the input burst" zrb_app_alive
read -r _ _ width height < <(zrb_geometry)
zrb_expect_eq "size after the burst" "640 475" "$width $height"
zrb_close_window
zrb_wait_exit 30
zrb_expect_eq "close after the burst exits with 0" 0 "$ZRB_APP_STATUS"
zrb_expect_eq "nothing on standard output after the burst" "" "$(cat "$ZRB_TMP/stdout.txt")"

zrb_finish

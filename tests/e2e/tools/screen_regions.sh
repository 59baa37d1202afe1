# Screen-region helpers for end-to-end scripts (source after lib/harness.sh):
# compare a region of two screenshots, and take screenshots until a region has
# changed or matches, so that scripts wait for the screen instead of sleeping.
#
#   zrb_region_differences A.png B.png GEOMETRY
#                             pixels of the region (WIDTHxHEIGHT+X+Y) that
#                             differ by more than 3% between the screenshots
#   zrb_region_same / zrb_region_changed A.png B.png GEOMETRY
#   zrb_shot_until NAME SECS same|changed REFERENCE.png GEOMETRY
#                             screenshots into $ZRB_TMP/NAME.png until its
#                             region is the same as / differs from the
#                             reference's; status 1 when it never does
#   zrb_wait_screen_drawn NAME [SECS]
#                             screenshots into $ZRB_TMP/NAME.png until the
#                             first layout is on the window

ZRB_BACKGROUND_COLOR="86 60 106"

zrb_region_differences() {
    local count
    count="$(compare -metric AE -fuzz 3% "$1[$3]" "$2[$3]" null: 2>&1)"
    # AE may come in floating-point notation for large counts.
    awk -v n="$count" 'BEGIN { if (n ~ /^[0-9.eE+-]+$/) printf "%d\n", n + 0; else print 1000000000 }'
}

zrb_region_same() { [ "$(zrb_region_differences "$@")" -eq 0 ]; }
zrb_region_changed() { [ "$(zrb_region_differences "$@")" -gt 0 ]; }

zrb_shot_until() {  # zrb_shot_until NAME SECS same|changed REFERENCE GEOMETRY
    local shot="$ZRB_TMP/$1.png" deadline=$((SECONDS + $2 + 1))
    while :; do
        if zrb_screenshot "$shot" 2>/dev/null; then
            case "$3" in
                same) zrb_region_same "$shot" "$4" "$5" && return 0 ;;
                changed) zrb_region_changed "$shot" "$4" "$5" && return 0 ;;
            esac
        fi
        [ "$SECONDS" -ge "$deadline" ] && return 1
        sleep 0.1
    done
}

zrb_wait_screen_drawn() {  # zrb_wait_screen_drawn NAME [SECS]
    local shot="$ZRB_TMP/$1.png" deadline=$((SECONDS + ${2:-30} + 1))
    # The bottom-right corner is window background once the full layout is
    # drawn (an undrawn window is black there).
    while :; do
        if zrb_screenshot "$shot" 2>/dev/null &&
            [ "$(zrb_pixel "$shot" 636 470)" = "$ZRB_BACKGROUND_COLOR" ]; then
            # One more frame, so the status line of the same frame is there too.
            sleep 0.2
            zrb_screenshot "$shot"
            return 0
        fi
        [ "$SECONDS" -ge "$deadline" ] && return 1
        sleep 0.1
    done
}

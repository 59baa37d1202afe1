#!/usr/bin/env bash
# Soak test of the real program: runs zrbtracker under Xvfb in a temporary app
# folder and drives it for SECONDS (default 120) with random but reproducible
# input (keys, typed characters, clicks on every button and number widget,
# clicks anywhere, wheel turns, saves and loads of scratch songs). Every few
# seconds it checks that the process is alive and still answering input (the
# channel-1 mute label changes when F5 is pressed) and samples its resident
# memory, which must not grow past a bound after the warm-up.
#
#   tests/soak/soak.sh [SECONDS]
#
# Environment: ZRB_BUILD_DIR (folder with zrbtracker, zrb_wmclose and data/),
# ZRB_SOAK_SEED (default 20240601), ZRB_SOAK_CHECK_EVERY (seconds, default 5),
# ZRB_SOAK_RSS_GROWTH_KB (allowed growth after warm-up, default 16384).
set -u
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib/harness.sh"

DURATION="${1:-120}"
SEED="${ZRB_SOAK_SEED:-20240601}"
CHECK_EVERY="${ZRB_SOAK_CHECK_EVERY:-5}"
GROWTH_KB="${ZRB_SOAK_RSS_GROWTH_KB:-16384}"
# Warm-up: a quarter of the run, at most 30 s; caches, the GL driver and the
# audio device settle in it.
WARMUP=$((DURATION / 4))
[ "$WARMUP" -gt 30 ] && WARMUP=30

RANDOM="$SEED"
# P = 0..N-1 from the seeded sequence. Never call it in $(...): a subshell
# reseeds RANDOM, and the run would no longer be reproducible.
pick() { P=$((RANDOM % $1)); }

# ---- what can be pressed and clicked ----
KEYS=(F1 F2 space F5 F6 F7 F8 F9 F10 Left Right Up Down Page_Up Page_Down Insert BackSpace Return Tab
      Home End Delete)
TYPED="qwertzuiopasdfghjklyxcvbnm234567890,.-+#<"
# Button centres (window units = pixels): mutes 1-4, follow, layout (two
# halves), edit, undo, play, home, copy, paste, insert, delete, the file name
# line, the instrument name, save, load.
BUTTONS=("71 418" "137 418" "203 418" "269 418" "335 418" "543 450" "597 450" "543 346" "597 346"
         "543 328" "597 328" "543 369" "597 369" "543 389" "597 389" "401 32" "401 44" "190 450"
         "500 129" "468 450" "414 450")
# Number widgets (x, y): octave, speed, length, instrument, WAV, PWM, ENV,
# ARP 1 and 2, SPD, SWP, AMT, RPT, E2P, pattern at the current position. A
# click on the left half lowers, on the right half raises.
SPINNERS=("473 360" "473 372" "473 384" "561 144" "561 168" "561 180" "561 204" "561 228" "593 228"
          "561 240" "561 192" "561 252" "561 264" "561 216" "385 12")

declare -A done_count=()
actions=0
count() { done_count[$1]=$((${done_count[$1]:-0} + 1)); actions=$((actions + 1)); }

act_key() { pick ${#KEYS[@]}; zrb_key "${KEYS[$P]}"; count key; }
act_type() {
    local n text="" i
    pick 4; n=$((1 + P))
    for i in $(seq 1 "$n"); do pick ${#TYPED}; text="$text${TYPED:$P:1}"; done
    # xdotool would read a leading "-" as an option.
    [ "${text:0:1}" = "-" ] && text="a$text"
    zrb_type "$text"
    count typed
}
act_button() {
    local xy
    pick ${#BUTTONS[@]}
    xy=(${BUTTONS[$P]})
    zrb_click_at "${xy[0]}" "${xy[1]}"
    # Leave a name field soon after opening it, most of the time, so that the
    # keys keep reaching the editor.
    pick 4
    if [ "$P" -ne 0 ]; then
        [ "${xy[0]} ${xy[1]}" = "190 450" ] && zrb_key Return
        [ "${xy[0]} ${xy[1]}" = "500 129" ] && { zrb_type "soak"; zrb_key Return; }
    fi
    count button
}
act_spinner() {
    local xy
    pick ${#SPINNERS[@]}
    xy=(${SPINNERS[$P]})
    pick 2
    zrb_click_at $((xy[0] + 8 + 16 * P)) $((xy[1] + 8))
    count widget
}
act_anywhere() {
    local x y
    pick 640; x=$P
    pick 475; y=$P
    pick 3
    zrb_click_at "$x" "$y" $((1 + P))
    count click
}
act_wheel() {
    local x y direction=up
    pick 360; x=$((20 + P))
    pick 260; y=$((60 + P))
    zrb_move "$x" "$y"
    pick 2; [ "$P" -eq 1 ] && direction=down
    pick 3
    zrb_wheel "$direction" $((1 + P))
    count wheel
}

saves_ok=0
saves_failed=0
loads=0
# Out of playing and out of any name field, then name the file and save it:
# some song file must appear on disk with at least the size of a one-pattern
# song. (The name is not compared: on a busy machine the program may lose a
# typed character when several arrive within one update.)
act_save() {
    local name songs="$ZRB_APP_DIR/data/songs"
    pick 3; name="soak$P"
    zrb_key Return space space
    zrb_click_at 190 450
    # One deletion per update at most: space the presses over updates (50 per
    # second), and let the last one pass before typing.
    for _ in $(seq 1 33); do xdotool key BackSpace; sleep 0.03; done
    zrb_pause 0.1
    zrb_type "$name"
    zrb_key Return
    touch "$ZRB_TMP/save_marker"
    sleep 0.01
    zrb_key F11
    if zrb_wait_for 3 saved_since_marker "$songs"; then
        saves_ok=$((saves_ok + 1))
    else
        saves_failed=$((saves_failed + 1))
        zrb_screenshot "$ZRB_TMP/save_failed_$saves_failed.png"
        echo "soak: no song file written by save $((saves_ok + saves_failed))"
    fi
    count save
}
saved_since_marker() {  # a file in $1 written after the marker, 1675 bytes or more
    [ -n "$(find "$1" -type f -newer "$ZRB_TMP/save_marker" -size +1674c 2>/dev/null | head -n 1)" ]
}
act_load() { zrb_key F12; loads=$((loads + 1)); count load; }

random_action() {
    local r
    pick 100; r=$P
    if [ "$r" -lt 30 ]; then act_key
    elif [ "$r" -lt 48 ]; then act_type
    elif [ "$r" -lt 64 ]; then act_button
    elif [ "$r" -lt 80 ]; then act_spinner
    elif [ "$r" -lt 88 ]; then act_anywhere
    elif [ "$r" -lt 95 ]; then act_wheel
    elif [ "$r" -lt 98 ]; then act_save
    else act_load
    fi
}

# ---- checks ----
rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$ZRB_APP_PID/status" 2>/dev/null; }

# The channel-1 mute label ("on"/"off") sits in its button; nothing else is
# drawn there, so a change proves the program read the key and redrew.
mute_label() { convert "$1" -crop 54x16+44+410 +repage rgb:- | md5sum | cut -d' ' -f1; }
responds() {
    local before after
    zrb_screenshot "$ZRB_TMP/check_a.png" || return 1
    before="$(mute_label "$ZRB_TMP/check_a.png")"
    zrb_key F5
    zrb_pause 0.4
    zrb_screenshot "$ZRB_TMP/check_b.png" || return 1
    after="$(mute_label "$ZRB_TMP/check_b.png")"
    zrb_key F5  # back as it was
    [ "$before" != "$after" ]
}

zrb_setup
zrb_start_xvfb || exit 1
zrb_make_app_dir
zrb_start_app
zrb_find_window || exit 1
zrb_pause 1

start=$SECONDS
rss_start="$(rss_kb)"
rss_warm=""
rss_max_after_warm=0
checks=0
failed_checks=0
not_responding=0
over_bound=0
next_check=$((start + CHECK_EVERY))
echo "soak: ${DURATION} s, seed $SEED, pid $ZRB_APP_PID, RSS at start ${rss_start} kB"

while [ $((SECONDS - start)) -lt "$DURATION" ]; do
    zrb_app_alive || { echo "soak: the program ended after $((SECONDS - start)) s"; break; }
    random_action
    if [ "$SECONDS" -ge "$next_check" ]; then
        next_check=$((SECONDS + CHECK_EVERY))
        checks=$((checks + 1))
        zrb_app_alive || { failed_checks=$((failed_checks + 1)); break; }
        if ! responds; then
            # One retry: a name field may have been open and eaten the key.
            zrb_key Return
            if ! responds; then
                not_responding=$((not_responding + 1))
                failed_checks=$((failed_checks + 1))
                echo "soak: no redraw after F5 at $((SECONDS - start)) s"
                cp "$ZRB_TMP/check_b.png" "/tmp/zrb-soak-unresponsive-$$.png" 2>/dev/null
            fi
        fi
        rss="$(rss_kb)"
        if [ -z "$rss_warm" ] && [ $((SECONDS - start)) -ge "$WARMUP" ]; then
            rss_warm="$rss"
            echo "soak: RSS after ${WARMUP} s warm-up ${rss_warm} kB"
        elif [ -n "$rss_warm" ] && [ -n "$rss" ]; then
            [ "$rss" -gt "$rss_max_after_warm" ] && rss_max_after_warm="$rss"
            if [ "$rss" -gt $((rss_warm + GROWTH_KB)) ]; then
                over_bound=$((over_bound + 1))
                failed_checks=$((failed_checks + 1))
                echo "soak: RSS ${rss} kB at $((SECONDS - start)) s, more than ${GROWTH_KB} kB over the warm-up"
            fi
        fi
    fi
done

elapsed=$((SECONDS - start))
alive_at_end=1
zrb_app_alive || alive_at_end=0
rss_end="$(rss_kb)"
[ -n "$rss_warm" ] || rss_warm="$rss_end"

# The normal road out: the close button, exit status 0.
exit_status=""
if [ "$alive_at_end" = 1 ]; then
    zrb_key Return
    zrb_close_window
    zrb_wait_exit 20
    exit_status="$ZRB_APP_STATUS"
fi

echo
echo "soak figures: seed $SEED"
echo "  duration        ${elapsed} s"
summary=""
for kind in key typed button widget click wheel save load; do summary="$summary $kind ${done_count[$kind]:-0}"; done
echo "  actions         $actions ($summary )"
echo "  saves           $saves_ok written, $saves_failed missing; loads $loads"
echo "  checks          $checks (not responding $not_responding, memory over bound $over_bound)"
echo "  RSS start       ${rss_start:-?} kB"
echo "  RSS warm-up     ${rss_warm:-?} kB"
echo "  RSS max after   ${rss_max_after_warm} kB (bound: warm-up + ${GROWTH_KB} kB)"
echo "  RSS end         ${rss_end:-?} kB"
echo "  exit status     ${exit_status:-none}"

zrb_expect_eq "alive for the whole run" 1 "$alive_at_end"
zrb_expect_eq "answered every check" 0 "$not_responding"
zrb_expect_eq "memory within bound after warm-up" 0 "$over_bound"
zrb_check "at least one check ran" [ "$checks" -gt 0 ]
zrb_check "scratch songs were saved" [ "$saves_failed" -eq 0 ]
zrb_expect_eq "exit status after the close button" 0 "$exit_status"
zrb_finish

#!/usr/bin/env bash
# The tracker screen of the real program under Xvfb, read back as screenshots:
# the panel colours at chosen pixels, the cursor-row highlight in editing and
# not in standby, the status text with Space and F1, a channel's "on"/"off"
# after F5, a typed note in its row, and two reference screenshots.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/harness.sh"

# ---- Screen checks: pixel colours with slack, region comparisons, references.

ZRB_REFERENCE_DIR="$ZRB_REPO_DIR/tests/reference"

# zrb_screen_shot NAME: screenshot into $ZRB_TMP/NAME.png after the screen has
# settled (a full layout is drawn within three updates; wait for several).
zrb_screen_shot() {
    zrb_pause "${ZRB_SETTLE:-0.4}"
    zrb_screenshot "$ZRB_TMP/$1.png"
}

# zrb_color_near "R G B" "R G B" [TOLERANCE]: every channel within the tolerance.
zrb_color_near() {
    local a b t="${3:-2}"
    read -r -a a <<<"$1"
    read -r -a b <<<"$2"
    [ "${#a[@]}" -eq 3 ] && [ "${#b[@]}" -eq 3 ] || return 1
    local i d
    for i in 0 1 2; do
        d=$((a[i] - b[i]))
        [ "${d#-}" -le "$t" ] || return 1
    done
}

# zrb_expect_pixel NAME PNG X Y "R G B": the pixel's colour, 2 units of slack.
zrb_expect_pixel() {
    local got
    got="$(zrb_pixel "$2" "$3" "$4")"
    if zrb_color_near "$got" "$5" 2; then
        ZRB_PASSED=$((ZRB_PASSED + 1))
        echo "PASS: $1"
    else
        ZRB_FAILED=$((ZRB_FAILED + 1))
        echo "FAIL: $1: pixel ($3, $4) is '$got', expected '$5'"
    fi
}

# zrb_rgb PNG GEOMETRY: the region (WIDTHxHEIGHT+X+Y) as raw 8-bit RGB on stdout.
zrb_rgb() { convert "$1" -crop "$2" +repage -depth 8 rgb:-; }

# zrb_region_differences A.png B.png GEOMETRY: how many pixels of the region
# differ by more than 8 units in a channel between two screenshots.
zrb_region_differences() {
    python3 - <(zrb_rgb "$1" "$3") <(zrb_rgb "$2" "$3") <<'PY'
import sys
a, b = (open(p, "rb").read() for p in sys.argv[1:3])
if len(a) != len(b) or not a:
    print(10**9)
else:
    print(sum(1 for i in range(0, len(a), 3) if max(abs(a[i + k] - b[i + k]) for k in range(3)) > 8))
PY
}

zrb_region_same() { [ "$(zrb_region_differences "$@")" -eq 0 ]; }
zrb_region_changed() { [ "$(zrb_region_differences "$@")" -gt 0 ]; }

# zrb_count_color PNG GEOMETRY "R G B": pixels of the region within 2 units of that colour.
zrb_count_color() {
    python3 - <(zrb_rgb "$1" "$2") $3 <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
want = [int(v) for v in sys.argv[2:5]]
print(sum(1 for i in range(0, len(data), 3) if all(abs(data[i + k] - want[k]) <= 2 for k in range(3))))
PY
}

# zrb_compare_reference NAME PNG: compares with tests/reference/NAME.png,
# allowing ZRB_REFERENCE_TOLERANCE pixels (default 40) to differ by more than
# 3%. With no reference yet, or with ZRB_UPDATE_REFERENCE=1, the screenshot
# becomes the reference.
zrb_compare_reference() {
    local name="$1" shot="$2" reference="$ZRB_REFERENCE_DIR/$1.png" differing
    if [ ! -f "$reference" ] || [ "${ZRB_UPDATE_REFERENCE:-0}" = 1 ]; then
        mkdir -p "$ZRB_REFERENCE_DIR"
        cp "$shot" "$reference"
        echo "NOTE: wrote reference $reference"
        ZRB_PASSED=$((ZRB_PASSED + 1))
        echo "PASS: reference $name (new)"
        return 0
    fi
    differing="$(compare -metric AE -fuzz 3% "$reference" "$shot" "$ZRB_TMP/$name-diff.png" 2>&1 | cut -d' ' -f1)"
    differing="${differing%%.*}"
    if [ -n "$differing" ] && [ "$differing" -le "${ZRB_REFERENCE_TOLERANCE:-40}" ] 2>/dev/null; then
        ZRB_PASSED=$((ZRB_PASSED + 1))
        echo "PASS: reference $name ($differing pixels differ)"
    else
        ZRB_FAILED=$((ZRB_FAILED + 1))
        echo "FAIL: reference $name: '$differing' pixels differ (diff image kept as $ZRB_TMP/$name-diff.png)"
        ZRB_KEEP_TMP=1
    fi
}

# ---- The test.

BACKGROUND="86 60 106"
PANEL="0 0 0"
ORDER_STRIP="71 53 85"
HEADER_BAR="38 38 38"
CURSOR_ROW="82 72 74"
# Screen regions (WIDTHxHEIGHT+X+Y) of texts that change.
STATUS_MESSAGE="176x12+473+0"     # after "Status: ", 43 cells in
CHANNEL1_LABEL="44x12+44+408"     # "on  " / "off " under channel 1
FIRST_ROW_CHANNEL1="55x12+44+12"  # the first cell of pattern row 00

zrb_start

# Start-up leaves standby; the full layout follows within three updates.
zrb_screen_shot start
zrb_expect_pixel "background" "$ZRB_TMP/start.png" 636 470 "$BACKGROUND"
zrb_expect_pixel "background left of the meters" "$ZRB_TMP/start.png" 395 300 "$BACKGROUND"
zrb_expect_pixel "pattern panel" "$ZRB_TMP/start.png" 150 397 "$PANEL"
zrb_expect_pixel "order strip" "$ZRB_TMP/start.png" 379 20 "$ORDER_STRIP"
zrb_expect_pixel "divider" "$ZRB_TMP/start.png" 304 200 "$BACKGROUND"
zrb_expect_pixel "header bar" "$ZRB_TMP/start.png" 636 6 "$HEADER_BAR"
zrb_expect_pixel "no cursor-row highlight in standby" "$ZRB_TMP/start.png" 300 20 "$PANEL"
zrb_check "status text drawn in the marker colour" \
    test "$(zrb_count_color "$ZRB_TMP/start.png" "$STATUS_MESSAGE" "172 37 104")" -gt 0
zrb_compare_reference start_screen "$ZRB_TMP/start.png"

# Space: standby -> editing, with the cursor row highlighted.
zrb_key space
zrb_screen_shot editing
zrb_expect_pixel "cursor-row highlight in editing" "$ZRB_TMP/editing.png" 300 20 "$CURSOR_ROW"
zrb_expect_pixel "rows below the cursor keep the panel" "$ZRB_TMP/editing.png" 300 32 "$PANEL"
zrb_check "status text changes with Space" zrb_region_changed "$ZRB_TMP/start.png" "$ZRB_TMP/editing.png" "$STATUS_MESSAGE"

# A typed note lands in row 00 of channel 1 and the cursor moves down.
zrb_key q
zrb_screen_shot typed
zrb_check "typed note appears in its row" \
    zrb_region_changed "$ZRB_TMP/editing.png" "$ZRB_TMP/typed.png" "$FIRST_ROW_CHANNEL1"
zrb_expect_pixel "highlight moved to the next row" "$ZRB_TMP/typed.png" 300 32 "$CURSOR_ROW"
zrb_key w e
zrb_key Down
zrb_key Right Right
zrb_key z
zrb_screen_shot notes
zrb_compare_reference screen_with_notes "$ZRB_TMP/notes.png"

# F1 starts playing, F1 again stops into standby.
zrb_key F1
zrb_screen_shot playing
zrb_check "status text changes with F1" zrb_region_changed "$ZRB_TMP/notes.png" "$ZRB_TMP/playing.png" "$STATUS_MESSAGE"
zrb_check "play marker line drawn while playing" \
    test "$(zrb_count_color "$ZRB_TMP/playing.png" "1x385+150+14" "172 37 104")" -gt 0
zrb_key F1
zrb_screen_shot stopped
zrb_check "F1 again: back to the standby text" zrb_region_same "$ZRB_TMP/start.png" "$ZRB_TMP/stopped.png" "$STATUS_MESSAGE"
zrb_expect_pixel "no highlight after stopping" "$ZRB_TMP/stopped.png" 300 20 "$PANEL"

# F5 mutes channel 1 ("off "), a second F5 turns it back on.
zrb_key F5
zrb_screen_shot muted
zrb_check "channel 1 label changes after F5" \
    zrb_region_changed "$ZRB_TMP/stopped.png" "$ZRB_TMP/muted.png" "$CHANNEL1_LABEL"
zrb_check "the other labels stay" \
    zrb_region_same "$ZRB_TMP/stopped.png" "$ZRB_TMP/muted.png" "44x12+110+408"
zrb_key F5
zrb_screen_shot unmuted
zrb_check "second F5 shows \"on\" again" \
    zrb_region_same "$ZRB_TMP/stopped.png" "$ZRB_TMP/unmuted.png" "$CHANNEL1_LABEL"

zrb_check "program still running" zrb_app_alive
zrb_close_window
zrb_wait_exit 30
zrb_expect_eq "close exits with 0" 0 "$ZRB_APP_STATUS"
zrb_finish

#!/usr/bin/env bash
# Note keys by key position on the real program: with the keyboard set to US,
# German, French and Dvorak (setxkbmap), the key in the place of the US "z"
# writes the lower row's C. Each layout's letter for that key is typed into
# its own row; every such row must look like the row typed on US. Shortcuts go
# by the printed letter: Ctrl+Z on a German keyboard (the key at the US "y"
# place) undoes the last note. A piano key writes its note even where the
# layout prints a command on it (French "-" on the US "6" place, Dvorak "." on
# the US "e" place); the keypad's minus writes the pattern break.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/tools/screen_regions.sh"

PATTERN_ROWS="303x384+0+12"
# cell_region ROW: channel 1's cell (note, volume, instrument) on pattern row ROW.
cell_region() { echo "55x12+44+$((12 + 12 * $1))"; }

# crop_cell PNG ROW OUT: the cell as its own picture, so rows can be compared.
crop_cell() { convert "$1" -crop "$(cell_region "$2")" +repage "$3"; }

# type_on LAYOUT KEYSYM NAME: switch the keyboard, press the key, wait until
# the pattern shows it.
type_on() {
    setxkbmap -display "$DISPLAY" $1 || return 1
    zrb_screenshot "$ZRB_TMP/$3-before.png"
    zrb_key "$2"
    zrb_shot_until "$3" 10 changed "$ZRB_TMP/$3-before.png" "$PATTERN_ROWS"
}

zrb_start
zrb_wait_screen_drawn start || { echo "FAIL: the screen was never drawn"; exit 1; }
zrb_key space
zrb_key Down  # row 1: row 0 has the beat colour
zrb_check "us: z writes a note" type_on us z us
zrb_check "de: y writes a note" type_on de y de
zrb_check "fr: w writes a note" type_on fr w fr
zrb_key Down  # skip the beat row 4
zrb_check "dvorak: ; writes a note" type_on "us -variant dvorak" semicolon dvorak
undo_on_de() {
    setxkbmap -display "$DISPLAY" de || return 1
    zrb_screenshot "$ZRB_TMP/before-undo.png"
    zrb_key ctrl+z
    zrb_shot_until undo 10 changed "$ZRB_TMP/before-undo.png" "$PATTERN_ROWS"
}
zrb_check "de: Ctrl+Z undoes" undo_on_de
setxkbmap -display "$DISPLAY" us
zrb_pause 0.5
zrb_screenshot "$ZRB_TMP/typed.png"

crop_cell "$ZRB_TMP/typed.png" 1 "$ZRB_TMP/cell-us.png"
for pair in de:2 fr:3 dvorak:5 empty:6 plain:7; do  # row 7 lies under the cursor bar's edge: compare below it
    crop_cell "$ZRB_TMP/typed.png" "${pair#*:}" "$ZRB_TMP/cell-${pair%%:*}.png"
done
zrb_check "Ctrl+Z took back the last note (Dvorak's)" \
    zrb_region_same "$ZRB_TMP/cell-dvorak.png" "$ZRB_TMP/cell-plain.png" 55x9+0+3
for layout in de fr; do
    zrb_check "$layout: the key at the US z place writes the same C as on US" \
        zrb_region_same "$ZRB_TMP/cell-us.png" "$ZRB_TMP/cell-$layout.png" 55x12+0+0
done
zrb_check "the typed cell differs from an empty one" \
    zrb_region_changed "$ZRB_TMP/cell-us.png" "$ZRB_TMP/cell-empty.png" 55x12+0+0

# Rows 9..11 typed on US (6, e, minus), rows 13..15 on other layouts (the
# printed "-" and "." on those places, and the keypad's minus); row 12 has
# the beat colour. The cursor then leaves for row 20.
zrb_key Down Down Down
zrb_check "us: 6 writes G#" type_on us 6 us-6
zrb_check "us: e writes E" type_on us e us-e
zrb_check "us: minus writes the pattern break" type_on us minus us-minus
zrb_key Down
zrb_check "fr: the US 6 place (printed -) writes a note" type_on fr minus fr-6
zrb_check "dvorak: the US e place (printed .) writes a note" type_on "us -variant dvorak" period dvorak-e
zrb_check "fr: keypad minus writes" type_on fr KP_Subtract fr-kp-minus
setxkbmap -display "$DISPLAY" us
zrb_key Down Down Down Down
zrb_pause 0.5
zrb_screenshot "$ZRB_TMP/commands.png"
for pair in us-6:9 us-e:10 us-minus:11 fr-6:13 dvorak-e:14 fr-kp-minus:15; do
    crop_cell "$ZRB_TMP/commands.png" "${pair#*:}" "$ZRB_TMP/cell-${pair%%:*}.png"
done
zrb_check "fr: the key at the US 6 place writes G# as on US" \
    zrb_region_same "$ZRB_TMP/cell-us-6.png" "$ZRB_TMP/cell-fr-6.png" 55x12+0+0
zrb_check "dvorak: the key at the US e place writes E as on US" \
    zrb_region_same "$ZRB_TMP/cell-us-e.png" "$ZRB_TMP/cell-dvorak-e.png" 55x12+0+0
zrb_check "fr: keypad minus writes the pattern break as US minus does" \
    zrb_region_same "$ZRB_TMP/cell-us-minus.png" "$ZRB_TMP/cell-fr-kp-minus.png" 55x12+0+0
zrb_check "G# and E look different" \
    zrb_region_changed "$ZRB_TMP/cell-us-6.png" "$ZRB_TMP/cell-us-e.png" 55x12+0+0
zrb_check "E and the pattern break look different" \
    zrb_region_changed "$ZRB_TMP/cell-us-e.png" "$ZRB_TMP/cell-us-minus.png" 55x12+0+0
zrb_finish

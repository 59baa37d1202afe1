#!/usr/bin/env bash
# The export tool at the edges: song names that are not song files, outputs
# that are not files, leftovers of killed exports, ignored signals, a full
# disk and a full standard output. Each refusal is one line and status 1.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/harness.sh"
zrb_setup

RENDER="$ZRB_BUILD_DIR/zrbtracker-render"
SONG="$ZRB_BUILD_DIR/data/songs/demo"
T="$ZRB_TMP"
mkdir -p "$T/out"

refused() {  # refused NAME TEXT OUTPUT ARGS...: status 1, one line naming TEXT, no OUTPUT
    local name="$1" text="$2" output="$3"
    shift 3
    timeout 20 "$RENDER" "$@" >"$T/stdout.txt" 2>"$T/err.txt"
    zrb_expect_eq "$name: status 1" 1 "$?"
    zrb_expect_eq "$name: one line" 1 "$(wc -l <"$T/err.txt" | tr -d ' ')"
    zrb_check "$name: names '$text'" grep -qF -- "$text" "$T/err.txt"
    [ -z "$output" ] || zrb_check "$name: no output file" test ! -f "$output"
}

# Songs that are not song files.
refused "/dev/zero as the song" "/dev/zero: not a song file" "$T/out/z.wav" /dev/zero "$T/out/z.wav"
mkfifo "$T/song-fifo"
refused "a FIFO as the song" "song-fifo: not a song file" "$T/out/f.wav" "$T/song-fifo" "$T/out/f.wav"
refused "a PNG as the song" "start_screen.png: not a song file" "$T/out/p.wav" \
    "$ZRB_REPO_DIR/tests/reference/start_screen.png" "$T/out/p.wav"
echo "a note to self, not a song" >"$T/notes.txt"
refused "a text file as the song" "notes.txt: not a song file" "$T/out/t.wav" "$T/notes.txt" "$T/out/t.wav"
printf 'ZRB1\001' >"$T/short"
refused "a file shorter than the header" "short: not a song file" "$T/out/s.wav" "$T/short" "$T/out/s.wav"
head -c 2000000 "$SONG" >"$T/big" && head -c 1200000 /dev/zero >>"$T/big"
refused "a song file over 1 MB" "big: not a song file (larger than 1 MB)" "$T/out/b.wav" "$T/big" "$T/out/b.wav"

# Outputs that are not files are refused and left as they are.
mkfifo "$T/out/pipe.wav"
refused "a FIFO as the output" "pipe.wav: is not a regular file" "" "$SONG" "$T/out/pipe.wav"
zrb_check "the FIFO is still a FIFO" test -p "$T/out/pipe.wav"
ln -s pipe.wav "$T/out/to-pipe.wav"
refused "a link to a FIFO as the output" "to-pipe.wav: is not a regular file" "" "$SONG" "$T/out/to-pipe.wav"
ln -s /dev/full "$T/out/full.wav"
refused "a link to /dev/full as the output" "full.wav: is not a regular file" "" "$SONG" "$T/out/full.wav"
zrb_check "the links are kept" test -L "$T/out/to-pipe.wav" -a -L "$T/out/full.wav"

# A stem name taken by a folder: refused before anything is written.
mkdir -p "$T/out/st-2.wav"
refused "--stems onto a folder" "st-2.wav" "$T/out/st.wav" "$SONG" "$T/out/st.wav" --stems
zrb_expect_eq "--stems onto a folder: no stem and no partial" 0 \
    "$(find "$T/out" -maxdepth 1 -name '*st-*' -type f -o -maxdepth 1 -name '.st*partial*' | wc -l)"

# An interrupted export with stems removes all five temporary files.
"$RENDER" "$SONG" "$T/out/int.flac" --stems --loops 100 --quiet &
pid=$!
zrb_wait_for 20 bash -c "ls -a '$T/out' | grep -q '^\.int-4\.flac\.partial'"
kill -TERM "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
zrb_expect_eq "interrupted stems: no temporary file" 0 "$(ls -a "$T/out" | grep -c 'int.*partial')"

# A link to a file: the file is written, the link kept.
: >"$T/out/target.wav"
ln -s target.wav "$T/out/link.wav"
"$RENDER" "$SONG" "$T/out/link.wav" --quiet
zrb_check "through a link: the link stays and its file holds the sound" \
    test -L "$T/out/link.wav" -a "$(stat -c %s "$T/out/target.wav")" -gt 100000

# Stale partials of killed exports go; fresh ones and other files stay.
: >"$T/out/.old.wav.partial-AbC123"
: >"$T/out/.new.wav.partial-XyZ789"
: >"$T/out/.notes.txt.partial-AbC123"
touch -d "-2 minutes" "$T/out/.old.wav.partial-AbC123" "$T/out/.notes.txt.partial-AbC123"
"$RENDER" "$SONG" "$T/out/clean.wav" --quiet
zrb_check "a stale partial is removed" test ! -e "$T/out/.old.wav.partial-AbC123"
zrb_check "a fresh partial (maybe a running export) stays" test -e "$T/out/.new.wav.partial-XyZ789"
zrb_check "a file of another pattern stays" test -e "$T/out/.notes.txt.partial-AbC123"

# Signals inherited as ignored stay ignored (nohup).
(trap '' TERM HUP; exec "$RENDER" "$SONG" "$T/out/long.flac" --loops 100 --quiet) &
pid=$!
zrb_wait_for 20 bash -c "ls -a '$T/out' | grep -q '^\.long\.flac\.partial'"
kill -TERM "$pid" 2>/dev/null
kill -HUP "$pid" 2>/dev/null
wait "$pid"
zrb_expect_eq "ignored TERM and HUP: the export finishes" 0 "$?"
zrb_check "ignored TERM and HUP: the file is written" test -s "$T/out/long.flac"

# Standard output that can't be written.
"$RENDER" --help >/dev/full 2>"$T/err.txt"
zrb_expect_eq "--help to a full output: status 1" 1 "$?"
"$RENDER" --help >&- 2>"$T/err.txt"
zrb_expect_eq "--help to a closed output: status 1" 1 "$?"
zrb_check "--version names the program" bash -c "'$RENDER' --version | grep -qE '^zrbtracker-render [0-9]'"

# A full disk names its cause, for every format, and leaves nothing.
mkdir -p "$T/small"
if mount -t tmpfs -o size=256k tmpfs "$T/small" 2>/dev/null; then
    trap 'umount "$T/small" 2>/dev/null; zrb_cleanup' EXIT
    for format in ogg flac wav; do
        refused "full disk, .$format" "No space left on device" "$T/small/o.$format" \
            "$SONG" "$T/small/o.$format" --loops 3
    done
    zrb_expect_eq "full disk: no partial file" 0 "$(find "$T/small" -type f | wc -l)"
    umount "$T/small"
else
    zrb_log "no tmpfs mount here (not root?): the full-disk checks are skipped"
fi

zrb_finish

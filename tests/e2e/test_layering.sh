#!/usr/bin/env bash
# The layering check: this checkout passes it, and a copy of the product
# folders with three faults put in fails it, naming each (a lower room
# including a higher one, a room reaching past the part of another it links,
# and an include loop inside a room). Needs no build.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/../.." && pwd)
check="$repo/scripts/check_layers.sh"
status=0

if ! bash "$check" "$repo"; then
    echo "FAIL: the checkout breaks its own layering (above)"
    status=1
fi

tmp=$(mktemp -d "${TMPDIR:-/tmp}/zrb-layering.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
rooms=$(sed -n 's/^foreach(area \([a-z ]*\)).*/\1/p' "$repo/CMakeLists.txt" | head -1)
cp "$repo/CMakeLists.txt" "$tmp/"
for room in $rooms; do [ -d "$repo/$room" ] && cp -r "$repo/$room" "$tmp/"; done
echo '#include "screen/Screen.h"' >>"$tmp/song/SongModel.h"
echo '#include "host/GlfwGame.h"' >>"$tmp/editor/Keys.h"
printf '#pragma once\n#include "runtime/LoopB.h"\n' >"$tmp/runtime/LoopA.h"
printf '#pragma once\n#include "runtime/LoopA.h"\n' >"$tmp/runtime/LoopB.h"

if bash "$check" "$tmp" 2>"$tmp/errors.txt"; then
    echo "FAIL: the faulty copy passed the check"
    status=1
fi
expect() {
    if ! grep -qF "$1" "$tmp/errors.txt"; then
        echo "FAIL: the check did not report: $1"
        status=1
    fi
}
expect "song/SongModel.h includes screen/Screen.h, but song/ links nothing of screen/"
expect "editor/Keys.h includes host/GlfwGame.h, but editor/ links only zrb_input of host/"
expect "include loop in runtime/"
if [ "$(wc -l <"$tmp/errors.txt")" -ne 3 ]; then
    echo "FAIL: expected three faults, got:"
    cat "$tmp/errors.txt"
    status=1
fi

[ $status -eq 0 ] && echo "PASS: layering"
exit $status

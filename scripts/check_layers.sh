#!/usr/bin/env bash
# Checks that the product folders' #include lines keep the layering the build
# declares. Usage: scripts/check_layers.sh [ROOT] (default: this checkout).
#
# The build's link lines are the rule: the rooms are the folders the root
# CMakeLists.txt walks (`foreach(area ...)`), and a room may include from
# another room only when one of its libraries links, directly or through
# others, a library that room defines (target_link_libraries in each room's
# CMakeLists.txt). A room reached through only some of another's libraries
# (the editor links host's input device, not the host) may include only their
# files: their sources, the headers beside them, and what those include in
# their room. Each fault is named on stderr and fails the check:
#   - an include into a room, or a part of one, that the includer does not
#     link (a lower room reaching up);
#   - rooms whose libraries link each other in a loop;
#   - an include loop among the files of one room.
set -u
root=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
cd "$root" || exit 2

rooms=$(sed -n 's/^foreach(area \([a-z ]*\)).*/\1/p' CMakeLists.txt | head -1)
[ -n "$rooms" ] || {
    echo "check_layers: no 'foreach(area ...)' in $root/CMakeLists.txt" >&2
    exit 2
}

failed=0
fail() {
    echo "check_layers: $*" >&2
    failed=1
}

# A CMakeLists.txt as one command a line, comments dropped.
commands_of() { sed 's/#.*//' "$1" | tr '\n' ' ' | sed 's/)/)\n/g'; }

declare -A owner     # library -> the room that defines it
declare -A sources   # library -> its source files, room-relative
declare -A links     # library -> the libraries it links
declare -A room_libs # room -> its libraries
for room in $rooms; do
    [ -f "$room/CMakeLists.txt" ] || continue
    commands=$(commands_of "$room/CMakeLists.txt")
    while read -r name rest; do
        owner[$name]=$room
        room_libs[$room]+="$name "
        for word in $rest; do
            case $word in
            *.c | *.cpp) sources[$name]+="$word " ;;
            # The platform's files behind the room's seams (its subfolders).
            *ZRB_PLATFORM_*)
                sources[$name]+="$(cd "$room" && find . -mindepth 2 -type f \( -name '*.c' -o -name '*.cpp' \) |
                    sed 's|^\./||' | tr '\n' ' ')"
                ;;
            esac
        done
    done < <(sed -n 's/^ *add_library( *\([A-Za-z0-9_]*\)\([^)]*\)).*/\1 \2/p' <<<"$commands")
    while read -r name rest; do
        for word in $rest; do
            case $word in zrb_*) links[$name]+="$word " ;; esac
        done
    done < <(sed -n 's/^ *target_link_libraries( *\([A-Za-z0-9_]*\)\([^)]*\)).*/\1 \2/p' <<<"$commands")
done

# The libraries a library reaches through its links, itself included.
reach() {
    local -A seen=()
    local todo=("$1") name next
    while [ ${#todo[@]} -gt 0 ]; do
        name=${todo[0]}
        todo=("${todo[@]:1}")
        [ -n "${seen[$name]:-}" ] && continue
        seen[$name]=1
        for next in ${links[$name]:-}; do todo+=("$next"); done
    done
    echo "${!seen[@]}"
}

# "room/File.h" includes of one file.
includes_of() { sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([a-z_]*\/[^"]*\)".*/\1/p' "$1"; }

# part_files ROOM LIBRARY...: those libraries' files, one a line.
part_files() {
    local room=$1 name source file included
    shift
    local -A seen=()
    local todo=()
    for name in "$@"; do
        for source in ${sources[$name]:-}; do
            todo+=("$room/$source")
            [ -f "$room/${source%.*}.h" ] && todo+=("$room/${source%.*}.h")
        done
    done
    while [ ${#todo[@]} -gt 0 ]; do
        file=${todo[0]}
        todo=("${todo[@]:1}")
        [ -n "${seen[$file]:-}" ] && continue
        seen[$file]=1
        [ -f "$file" ] || continue
        while read -r included; do
            [ "${included%%/*}" = "$room" ] && todo+=("$included")
        done < <(includes_of "$file")
    done
    printf '%s\n' "${!seen[@]}"
}

# tsort names a loop on stderr, one member a line after its first message.
loop_members() { grep -v 'input contains a loop' | sed 's/^tsort: //' | tr '\n' ' '; }

# Rooms whose libraries link each other in a loop.
room_edges=""
for name in "${!links[@]}"; do
    from=${owner[$name]:-}
    [ -n "$from" ] || continue
    for linked in ${links[$name]}; do
        to=${owner[$linked]:-}
        [ -n "$to" ] && [ "$to" != "$from" ] && room_edges+="$from $to"$'\n'
    done
done
if [ -n "$room_edges" ] && ! loop=$(tsort <<<"$room_edges" 2>&1 >/dev/null); then
    fail "rooms link each other in a loop: $(loop_members <<<"$loop")"
fi

for room in $rooms; do
    [ -d "$room" ] || continue
    reached=""
    for name in ${room_libs[$room]:-}; do reached+=" $(reach "$name")"; done
    # What this room may include from each other room, worked out once:
    # "-" nothing, "*" any file, else the files of the libraries it reaches.
    unset may_include reached_part
    declare -A may_include=() reached_part=()
    for other in $rooms; do
        [ "$other" = "$room" ] && continue
        there=""
        for name in $(tr ' ' '\n' <<<"$reached" | sort -u); do
            [ "${owner[$name]:-}" = "$other" ] && there+="$name "
        done
        if [ -z "$there" ]; then
            may_include[$other]="-"
        elif [ "$(wc -w <<<"$there")" = "$(wc -w <<<"${room_libs[$other]:-}")" ]; then
            may_include[$other]="*"
        else
            may_include[$other]=$(part_files "$other" $there)
            reached_part[$other]=$there
        fi
    done

    edges=""
    while IFS= read -r -d '' file; do
        while read -r included; do
            [ -n "$included" ] || continue
            other=${included%%/*}
            if [ "$other" = "$room" ]; then
                edges+="$file $included"$'\n'
                continue
            fi
            case ${may_include[$other]:--} in
            "-") fail "$file includes $included, but $room/ links nothing of $other/" ;;
            "*") ;;
            *)
                grep -qxF "$included" <<<"${may_include[$other]}" ||
                    fail "$file includes $included, but $room/ links only ${reached_part[$other]}of $other/"
                ;;
            esac
        done < <(includes_of "$file")
    done < <(find "$room" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.c' \) -print0)

    if [ -n "$edges" ] && ! loop=$(tsort <<<"$edges" 2>&1 >/dev/null); then
        fail "include loop in $room/: $(loop_members <<<"$loop")"
    fi
done

exit $failed

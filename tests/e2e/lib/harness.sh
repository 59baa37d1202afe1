# End-to-end harness: runs the real program under a private Xvfb and drives it
# like a person would. Source it from a test script (bash), after `set -u`.
#
# Environment
#   ZRB_BUILD_DIR     build folder holding zrbtracker, zrb_wmclose and data/
#                     (default: <repo>/build)
#   ZRB_KEEP_TMP=1    keep the temporary folder after the test (for debugging)
#   ZRB_APP_EXE       program to run: zrbtracker (default) or zrbtracker-test,
#                     the build with the test switches (see its source)
#   ZRB_XVFB_SCREEN   Xvfb screen size (default 1024x768x24)
#   ZRB_XVFB_ARGS     extra Xvfb arguments (default: keyboard auto-repeat on,
#                     500 ms delay, 30 ms interval)
#
# Set-up and tear-down (every process started here is killed by PID on exit)
#   zrb_setup                 temp folder $ZRB_TMP, exit trap; call first
#   zrb_start_xvfb            Xvfb on a free display (-displayfd), exports DISPLAY
#   zrb_make_app_dir [DIR]    copy of the executable and data/ into DIR
#                             (default $ZRB_TMP/app); sets $ZRB_APP_DIR
#   zrb_use_silent_audio      next start: ALSOFT_DRIVERS=null (the default)
#   zrb_use_wave_capture WAV  next start records the mix to WAV through
#                             OpenAL Soft's wave writer (ALSOFT_CONF), running
#                             zrbtracker-test with the device kept mixing; the header
#                             keeps placeholder sizes: read the data to EOF
#   zrb_start_app [VAR=VALUE...]
#                             starts $ZRB_APP_DIR/zrbtracker (stdin /dev/null,
#                             stdout $ZRB_TMP/stdout.txt, stderr stderr.txt),
#                             sets $ZRB_APP_PID
#   zrb_find_window [SECS]    waits until the window is mapped; sets $ZRB_WID
#   zrb_start                 all of the above in order, with defaults
#   zrb_cleanup               kills what was started (run by the exit trap)
#
# Input (XTEST through xdotool; each step its own command and a short pause,
# because the program reads the live pointer on clicks)
#   zrb_key KEY...            key presses (xdotool key names: Return, Left, a)
#   zrb_key_down KEY / zrb_key_up KEY
#   zrb_type TEXT             types text
#   zrb_move X Y              pointer to window coordinates X, Y
#   zrb_click [BUTTON]        click (1 left, 2 middle, 3 right) where the pointer is
#   zrb_click_at X Y [BUTTON] move, then click
#   zrb_wheel up|down [N]     N wheel steps (default 1)
#   zrb_pause [SECS]          short settle pause (default 0.1)
#
# Reading the window and the program
#   zrb_geometry              prints "X Y WIDTH HEIGHT" of the window (xwininfo)
#   zrb_title                 prints the window title
#   zrb_screenshot PNG        saves the window's contents as PNG
#   zrb_pixel PNG X Y         prints "R G B" (0..255) of a pixel of a PNG
#   zrb_wav_info WAV          prints "CHANNELS RATE BITS FORMAT" of a captured
#                             WAV (format 1 integer PCM, 3 float)
#   zrb_wav_data WAV RAW      writes the sample bytes after the "data" chunk
#                             header up to the end of the file (the sizes in a
#                             capture's header are placeholders)
#   zrb_app_alive             status 0 while the program runs
#   zrb_close_window          sends WM_DELETE_WINDOW (the close button)
#   zrb_wait_exit [SECS]      waits for the program to end and sets
#                             $ZRB_APP_STATUS (124 when it did not end in time);
#                             call it directly, not in $(...): it must reap
#                             the program from this shell
#   zrb_wait_for SECS CMD...  polls CMD until it succeeds; status 1 on timeout
#   zrb_wait_file FILE [MIN_BYTES] [SECS]
#                             waits until FILE exists with at least MIN_BYTES
#   zrb_wait_file_growth FILE [SECS]
#                             waits until FILE stops being empty and has grown
#
# Checks (a test ends with zrb_finish, which prints "N passed, N failed" and
# exits non-zero on any failure)
#   zrb_check NAME CMD...     passes when CMD succeeds
#   zrb_expect_eq NAME EXPECTED ACTUAL
#   zrb_finish

ZRB_REPO_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
: "${ZRB_BUILD_DIR:=$ZRB_REPO_DIR/build}"
ZRB_BUILD_DIR="$(cd "$ZRB_BUILD_DIR" && pwd)"
ZRB_TMP=""
ZRB_XVFB_PID=""
ZRB_APP_PID=""
ZRB_APP_STATUS=""
ZRB_APP_DIR=""
ZRB_WID=""
ZRB_AUDIO_MODE="silent"
ZRB_AUDIO_WAV=""
ZRB_PASSED=0
ZRB_FAILED=0
ZRB_WINDOW_TITLE="ZRB Tracker 1.0"

zrb_log() { echo "[e2e] $*" >&2; }

zrb_setup() {
    ZRB_TMP="$(mktemp -d /tmp/zrb-e2e.XXXXXX)"
    trap zrb_cleanup EXIT
    trap 'exit 130' INT TERM
}

zrb_kill_pid() {  # zrb_kill_pid PID: TERM, then KILL if it lingers; reaps it
    local pid="$1" i
    [ -n "$pid" ] || return 0
    kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null; return 0; }
    kill -TERM "$pid" 2>/dev/null
    for i in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    kill -0 "$pid" 2>/dev/null && kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    return 0
}

zrb_cleanup() {
    local status=$?
    if [ -n "$ZRB_APP_PID" ]; then zrb_kill_pid "$ZRB_APP_PID"; ZRB_APP_PID=""; fi
    if [ -n "$ZRB_XVFB_PID" ]; then zrb_kill_pid "$ZRB_XVFB_PID"; ZRB_XVFB_PID=""; fi
    if [ -n "$ZRB_TMP" ] && [ -d "$ZRB_TMP" ]; then
        if [ "${ZRB_KEEP_TMP:-0}" = 1 ]; then
            zrb_log "kept $ZRB_TMP"
        else
            rm -rf "$ZRB_TMP"
        fi
    fi
    return $status
}

zrb_wait_for() {  # zrb_wait_for SECS CMD...
    local secs="$1"
    shift
    local deadline=$((SECONDS + ${secs%.*} + 1))
    while ! "$@" >/dev/null 2>&1; do
        [ "$SECONDS" -ge "$deadline" ] && return 1
        sleep 0.05
    done
    return 0
}

zrb_file_has() {  # zrb_file_has FILE MIN_BYTES
    [ -f "$1" ] && [ "$(stat -c %s "$1")" -ge "$2" ]
}

zrb_wait_file() {  # zrb_wait_file FILE [MIN_BYTES] [SECS]
    zrb_wait_for "${3:-30}" zrb_file_has "$1" "${2:-1}"
}

zrb_wait_file_growth() {  # zrb_wait_file_growth FILE [SECS]
    local file="$1" secs="${2:-30}" size
    zrb_wait_file "$file" 1 "$secs" || return 1
    size="$(stat -c %s "$file")"
    zrb_wait_for "$secs" zrb_file_has "$file" $((size + 1))
}

zrb_start_xvfb() {
    local fdfile="$ZRB_TMP/display"
    : >"$fdfile"
    # shellcheck disable=SC2086
    Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 "${ZRB_XVFB_SCREEN:-1024x768x24}" \
        ${ZRB_XVFB_ARGS:--ardelay 500 -arinterval 30} 3>"$fdfile" >"$ZRB_TMP/xvfb.log" 2>&1 &
    ZRB_XVFB_PID=$!
    if ! zrb_wait_for 30 grep -q '[0-9]' "$fdfile"; then
        zrb_log "Xvfb did not report a display"
        cat "$ZRB_TMP/xvfb.log" >&2
        return 1
    fi
    export DISPLAY=":$(tr -dc '0-9' <"$fdfile")"
    zrb_wait_for 30 xdpyinfo -display "$DISPLAY" || { zrb_log "display $DISPLAY not answering"; return 1; }
    zrb_log "Xvfb pid $ZRB_XVFB_PID on $DISPLAY"
}

zrb_make_app_dir() {
    ZRB_APP_DIR="${1:-$ZRB_TMP/app}"
    mkdir -p "$ZRB_APP_DIR"
    # A copy, not a symlink: the program finds data/ beside its resolved path.
    cp "$ZRB_BUILD_DIR/zrbtracker" "$ZRB_APP_DIR/zrbtracker"
    [ -x "$ZRB_BUILD_DIR/zrbtracker-test" ] && cp "$ZRB_BUILD_DIR/zrbtracker-test" "$ZRB_APP_DIR/zrbtracker-test"
    rm -rf "$ZRB_APP_DIR/data"
    if [ -d "$ZRB_BUILD_DIR/data" ]; then
        cp -r "$ZRB_BUILD_DIR/data" "$ZRB_APP_DIR/data"
    else
        mkdir -p "$ZRB_APP_DIR/data/songs"
    fi
}

zrb_use_silent_audio() { ZRB_AUDIO_MODE="silent"; ZRB_AUDIO_WAV=""; }

zrb_use_wave_capture() {
    ZRB_AUDIO_MODE="wave"
    case "$1" in
        /*) ZRB_AUDIO_WAV="$1" ;;
        *) ZRB_AUDIO_WAV="$PWD/$1" ;;
    esac
    rm -f "$ZRB_AUDIO_WAV"
    printf '[general]\ndrivers=wave\n\n[wave]\nfile=%s\n' "$ZRB_AUDIO_WAV" >"$ZRB_TMP/alsoft.conf"
}

zrb_start_app() {
    [ -n "$ZRB_APP_DIR" ] || zrb_make_app_dir
    local audio_env=()
    local exe="${ZRB_APP_EXE:-zrbtracker}"
    if [ "$ZRB_AUDIO_MODE" = wave ]; then
        # The wave writer's file breaks when its device pauses: capture with
        # the test build, which can keep the device mixing through silence.
        audio_env=(-u ALSOFT_DRIVERS ALSOFT_CONF="$ZRB_TMP/alsoft.conf" ZRB_DEVICE_PAUSE=off)
        exe=zrbtracker-test
    else
        audio_env=(ALSOFT_DRIVERS=null)
    fi
    ZRB_APP_STATUS=""
    ZRB_WID=""
    # env execs the program, so $! is the program's own PID.
    env "${audio_env[@]}" DISPLAY="$DISPLAY" "$@" "$ZRB_APP_DIR/$exe" \
        </dev/null >"$ZRB_TMP/stdout.txt" 2>"$ZRB_TMP/stderr.txt" &
    ZRB_APP_PID=$!
    zrb_log "zrbtracker pid $ZRB_APP_PID"
}

zrb_wav_info() {
    python3 - "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
pos = 12
while pos + 8 <= len(data):
    tag, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
    if tag == b"fmt ":
        tag, channels, rate, _, _, bits = struct.unpack("<HHIIHH", data[pos + 8:pos + 24])
        if tag == 0xFFFE and size >= 40:  # extensible: the sub-format's first field
            tag = struct.unpack("<H", data[pos + 32:pos + 34])[0]
        print(channels, rate, bits, tag)
        break
    pos += 8 + size
PY
}

zrb_wav_data() {
    python3 - "$1" "$2" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
pos = 12
while pos + 8 <= len(data):
    tag, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
    if tag == b"data":
        open(sys.argv[2], "wb").write(data[pos + 8:])
        sys.exit(0)
    pos += 8 + size
sys.exit(1)
PY
}

zrb_app_alive() { [ -n "$ZRB_APP_PID" ] && kill -0 "$ZRB_APP_PID" 2>/dev/null && [ -z "$ZRB_APP_STATUS" ]; }

zrb_search_window() {
    local wid
    wid="$(xdotool search --onlyvisible --pid "$ZRB_APP_PID" --name "^$ZRB_WINDOW_TITLE\$" 2>/dev/null | head -n 1)"
    [ -n "$wid" ] || return 1
    ZRB_WID="$wid"
}

zrb_find_window() {  # zrb_find_window [SECS]
    local deadline=$((SECONDS + ${1:-60}))
    while ! zrb_search_window; do
        if ! kill -0 "$ZRB_APP_PID" 2>/dev/null; then
            zrb_log "program ended before its window appeared"
            return 1
        fi
        [ "$SECONDS" -ge "$deadline" ] && { zrb_log "no window after ${1:-60} s"; return 1; }
        sleep 0.1
    done
    # Mapped and viewable: input and screenshots work from here on.
    zrb_wait_for 30 sh -c "xwininfo -id $ZRB_WID | grep -q 'IsViewable'" || return 1
    zrb_log "window $ZRB_WID"
}

zrb_start() {
    zrb_setup
    zrb_start_xvfb || exit 1
    zrb_make_app_dir
    zrb_start_app "$@"
    zrb_find_window || exit 1
}

zrb_pause() { sleep "${1:-0.1}"; }

zrb_key() {
    local k
    for k in "$@"; do
        xdotool key "$k"
        zrb_pause 0.05
    done
}
zrb_key_down() { xdotool keydown "$1"; zrb_pause 0.05; }
zrb_key_up() { xdotool keyup "$1"; zrb_pause 0.05; }
zrb_type() { xdotool type --delay 40 "$1"; zrb_pause 0.05; }
zrb_move() { xdotool mousemove --window "$ZRB_WID" "$1" "$2"; zrb_pause 0.05; }
zrb_click() { xdotool click "${1:-1}"; zrb_pause 0.05; }
zrb_click_at() { zrb_move "$1" "$2"; zrb_click "${3:-1}"; }
zrb_wheel() {  # zrb_wheel up|down [N]
    local button=4 i
    [ "$1" = down ] && button=5
    for i in $(seq 1 "${2:-1}"); do zrb_click "$button"; done
}

zrb_geometry() {
    xwininfo -id "$ZRB_WID" | awk '
        /Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF}
        END {print x, y, w, h}'
}

zrb_title() { xdotool getwindowname "$ZRB_WID"; }

zrb_screenshot() { import -window "$ZRB_WID" "png:$1"; }

zrb_pixel() {  # zrb_pixel PNG X Y -> "R G B"
    convert "$1" -crop "1x1+$2+$3" +repage -depth 8 txt:- |
        sed -n '2s/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}

zrb_close_window() { "$ZRB_BUILD_DIR/zrb_wmclose" "$ZRB_WID"; }

zrb_wait_exit() {  # zrb_wait_exit [SECS]
    local deadline=$((SECONDS + ${1:-30}))
    [ -n "$ZRB_APP_STATUS" ] && return 0
    while kill -0 "$ZRB_APP_PID" 2>/dev/null; do
        # A finished child stays a zombie until waited for: check its state.
        [ "$(awk '{print $3}' "/proc/$ZRB_APP_PID/stat" 2>/dev/null)" = Z ] && break
        if [ "$SECONDS" -ge "$deadline" ]; then
            ZRB_APP_STATUS=124
            return 0
        fi
        sleep 0.05
    done
    wait "$ZRB_APP_PID"
    ZRB_APP_STATUS=$?
    ZRB_APP_PID=""
}

zrb_check() {  # zrb_check NAME CMD...
    local name="$1"
    shift
    if "$@"; then
        ZRB_PASSED=$((ZRB_PASSED + 1))
        echo "PASS: $name"
    else
        ZRB_FAILED=$((ZRB_FAILED + 1))
        echo "FAIL: $name"
    fi
}

zrb_expect_eq() {  # zrb_expect_eq NAME EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then
        ZRB_PASSED=$((ZRB_PASSED + 1))
        echo "PASS: $1"
    else
        ZRB_FAILED=$((ZRB_FAILED + 1))
        echo "FAIL: $1: expected '$2', got '$3'"
    fi
}

zrb_finish() {
    if [ "$ZRB_FAILED" -ne 0 ] && [ -n "$ZRB_TMP" ]; then
        echo "--- program stdout:"; cat "$ZRB_TMP/stdout.txt" 2>/dev/null
        echo "--- program stderr:"; cat "$ZRB_TMP/stderr.txt" 2>/dev/null
    fi
    echo "$ZRB_PASSED passed, $ZRB_FAILED failed"
    [ "$ZRB_FAILED" -eq 0 ]
    exit $?
}

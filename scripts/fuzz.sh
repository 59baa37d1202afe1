#!/usr/bin/env bash
# Fuzzes every file reader: builds the libFuzzer targets of tests/fuzz with
# clang (AddressSanitizer + UndefinedBehaviorSanitizer), writes the seed
# corpora, replays the kept regression inputs, then runs each target for
# SECONDS (default 60) in libFuzzer's fork mode, which keeps fuzzing after a
# finding, so a run lasts its full time and may collect several. Prints
# executions per target and its findings; exits non-zero when a regression
# input failed or a target crashed, hung, ran out of memory or failed a check.
#
#   scripts/fuzz.sh [SECONDS]
#
# Environment: ZRB_FUZZ_BUILD_DIR (default <repo>/build-fuzz), ZRB_FUZZ_TARGETS
# (default: all five), ZRB_JOBS (build jobs, default 2). Corpora grown by
# earlier runs are kept in <build>/fuzz-run/corpus; crash inputs land in
# <build>/fuzz-run/crashes.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

SECONDS_PER_TARGET="${1:-60}"
BUILD="${ZRB_FUZZ_BUILD_DIR:-$ZRB_ROOT/build-fuzz}"
TARGETS="${ZRB_FUZZ_TARGETS:-fuzz_text fuzz_song fuzz_wav fuzz_ogg fuzz_image}"
WORK="$BUILD/fuzz-run"

zrb_install_packages cmake clang libclang-rt-14-dev libstb-dev libopenal-dev libgl1-mesa-dev pkg-config \
    sound-theme-freedesktop alsa-utils || exit 1

CC=clang CXX=clang++ cmake -S "$ZRB_ROOT/tests/fuzz" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null ||
    { echo "fuzz configure failed"; exit 1; }
# shellcheck disable=SC2086
cmake --build "$BUILD" -j"${ZRB_JOBS:-2}" --target zrb_fuzz_seeds $TARGETS >"$BUILD/build.log" 2>&1 ||
    { tail -40 "$BUILD/build.log"; echo "fuzz build failed"; exit 1; }

rm -rf "$WORK/seeds" "$WORK/logs" "$WORK/tmp"
mkdir -p "$WORK/corpus" "$WORK/crashes" "$WORK/logs" "$WORK/tmp"
touch "$WORK/logs/started"
"$BUILD/zrb_fuzz_seeds" "$WORK/seeds" "$ZRB_ROOT/tests/fuzz/regressions" || { echo "seed generation failed"; exit 1; }

# The readers' scratch files go to a folder removed at the end, crash or not.
export TMPDIR="$WORK/tmp"
# A request too large to satisfy gives a null pointer, as the C library's
# malloc does in the real program; the readers must cope with that.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$ZRB_ROOT/tests/fuzz/lsan.supp:print_suppressions=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
trap 'rm -rf "$WORK/tmp"' EXIT

seeds_for() {  # the seed folder of a target
    case "$1" in
        fuzz_text) echo text ;; fuzz_song) echo song ;; fuzz_wav) echo wav ;;
        fuzz_ogg) echo ogg ;; fuzz_image) echo image ;;
    esac
}

failed=0
report=""
for target in $TARGETS; do
    kind="$(seeds_for "$target")"
    log="$WORK/logs/$target.log"

    # Every input that once crashed a reader must now pass.
    regressions=("$WORK/seeds/regressions/$target"/*)
    if [ -e "${regressions[0]}" ]; then
        if ! "$BUILD/$target" "${regressions[@]}" >"$WORK/logs/$target.regressions.log" 2>&1; then
            echo "=== $target: a kept regression input fails"
            grep -E "ERROR|SUMMARY|fuzz check failed|Running:" "$WORK/logs/$target.regressions.log" | head -20
            failed=1
            report="$report\n$target regressions FAILED"
        fi
    fi

    mkdir -p "$WORK/corpus/$target"
    # 2 GB of memory at most and 10 s per input: a file that makes a reader
    # allocate without bound or hang counts as a finding. The fork-mode parent
    # restarts its worker after each finding and writes the input to crashes/.
    # The song loader builds 1 MB of columns per input: with the sanitizer's
    # default 256 MB quarantine every input lands on fresh pages, and the
    # page faults take more time than the loader.
    quarantine=""
    [ "$target" = fuzz_song ] && quarantine=":quarantine_size_mb=16"
    ASAN_OPTIONS="$ASAN_OPTIONS$quarantine" "$BUILD/$target" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
        -max_total_time="$SECONDS_PER_TARGET" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=1024 \
        -artifact_prefix="$WORK/crashes/$target-" \
        "$WORK/corpus/$target" "$WORK/seeds/$kind" >"$log" 2>&1
    status=$?
    # The parent's last status line: "#RUNS: cov: .. oom/timeout/crash: O/T/C time: Ss ..."
    last="$(grep -E '^#[0-9]+: ' "$log" | tail -1)"
    runs="$(printf '%s' "$last" | sed -nE 's/^#([0-9]+):.*/\1/p')"
    elapsed="$(printf '%s' "$last" | sed -nE 's/.* time: ([0-9]+)s.*/\1/p')"
    findings="$(printf '%s' "$last" | sed -nE 's|.*oom/timeout/crash: ([0-9]+)/([0-9]+)/([0-9]+).*|\1 \2 \3|p')"
    read -r ooms timeouts crashes <<<"${findings:-0 0 0}"
    # The parent's status line can lag behind its last finding; the files it wrote cannot.
    written="$(find "$WORK/crashes" -name "$target-*" -newer "$WORK/logs/started" | wc -l)"
    [ "$written" -gt $((ooms + timeouts + crashes)) ] && crashes=$((written - ooms - timeouts))
    rate="?"
    [ -n "$runs" ] && [ "${elapsed:-0}" -gt 0 ] && rate=$((runs / elapsed))
    corpus="$(find "$WORK/corpus/$target" -type f | wc -l)"
    found=$((ooms + timeouts + crashes))
    if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then
        failed=1
        echo "=== $target: $crashes crash(es), $timeouts timeout(s), $ooms out-of-memory (status $status)"
        grep -E "ERROR:|SUMMARY:|fuzz check failed" "$log" | sed -E 's/^==[0-9]+== ?//' | sort | uniq -c | head -20
        find "$WORK/crashes" -name "$target-*" -newer "$WORK/logs/started" | head -10
        line="$(printf '%-11s %10s runs %7s/s  corpus %5s  FOUND %s' "$target" "${runs:-?}" "$rate" "$corpus" "$found")"
    else
        line="$(printf '%-11s %10s runs %7s/s  corpus %5s  ok' "$target" "${runs:-?}" "$rate" "$corpus")"
    fi
    echo "$line"
    report="$report\n$line"
done

echo
echo "fuzzing, $SECONDS_PER_TARGET s per target:"
printf '%b\n' "$report" | sed '/^$/d'
crashes="$(find "$WORK/crashes" -type f -newer "$WORK/logs/started" | wc -l)"
echo "crash inputs written this run: $crashes (in $WORK/crashes)"
exit "$failed"

#!/usr/bin/env bash
# Installs what is missing, builds, then runs every test: the unit tests of the
# release build and of the sanitizer build, then the end-to-end scripts, then
# the web page's build and its browser tests.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
zrb_install_packages $ZRB_BUILD_PACKAGES $ZRB_TEST_PACKAGES || exit 1
cd "$ZRB_ROOT"

passed=0
failed=0
failures=""
record() {  # record NAME STATUS
    if [ "$2" -eq 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); failures="$failures $1"; fi
}

zrb_build build Release || { echo "release build failed"; echo "0 passed, 1 failed"; exit 1; }
ctest --test-dir build --output-on-failure -j2 --timeout 300
record unit-release $?

zrb_build build-asan RelWithDebInfo -DZRB_SANITIZE=ON || { echo "sanitizer build failed"; echo "0 passed, 1 failed"; exit 1; }
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build-asan --output-on-failure -j2 --timeout 600
record unit-sanitizer $?

# The end-to-end tests drive the real program: once the release build, once
# the sanitizer build (its normal exit runs the leak check).
for variant in build build-asan; do
    for script in tests/e2e/test_*.sh; do
        [ -e "$script" ] || continue
        echo "=== e2e ($variant): $script"
        ZRB_BUILD_DIR="$ZRB_ROOT/$variant" ASAN_OPTIONS=detect_leaks=1 \
            LSAN_OPTIONS="suppressions=$ZRB_ROOT/tests/e2e/lsan.supp" bash "$script"
        status=$?
        record "$variant/$(basename "$script")" "$status"
    done
done

# A short pass of every fuzz target (regression inputs first), then a short
# soak of the real program under seeded random input.
echo "=== fuzz (short pass)"
bash scripts/fuzz.sh 5
record fuzz $?
echo "=== soak (short run)"
ZRB_BUILD_DIR="$ZRB_ROOT/build" bash tests/soak/soak.sh 120
record soak $?

# The page: its build, then the browser tests against the desktop build.
echo "=== web page (build and browser tests)"
web_start=$SECONDS
zrb_web_test_setup && zrb_build_web && ZRB_BUILD_DIR="$ZRB_ROOT/build" bash tests/web/test_page.sh
record web $?
echo "web page: $((SECONDS - web_start)) s"

echo
[ -n "$failures" ] && echo "failed:$failures"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

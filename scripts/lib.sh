# Shared by run.sh and test.sh: the Debian packages the project needs and the build.
ZRB_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

ZRB_BUILD_PACKAGES="cmake g++ clang pkg-config libglfw3-dev libopenal-dev libopenal1 libstb-dev libx11-dev \
libgl1-mesa-dev libgl1-mesa-dri libgtest-dev libsndfile1-dev"
ZRB_TEST_PACKAGES="xvfb xdotool x11-apps x11-utils imagemagick sox python3-numpy alsa-utils \
sound-theme-freedesktop libclang-rt-14-dev x11-xkb-utils libxtst-dev"

# The page: emscripten, python3 to serve it; its tests add chromium, and npm
# for puppeteer-core (tests/web/package-lock.json) when no npm is installed.
# Installed without recommends (emscripten's pull in half a desktop).
ZRB_WEB_PACKAGES="emscripten python3"
ZRB_WEB_TEST_PACKAGES="chromium"

zrb_missing_packages() {
    local missing=""
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
    done
    echo "$missing"
}

zrb_install_packages() {
    local missing
    missing="$(zrb_missing_packages "$@")"
    [ -z "${missing// /}" ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages. Install them with:"
        echo "  sudo apt-get install -y$missing"
        exit 1
    fi
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get -o DPkg::Lock::Timeout=300 update -qq
    # shellcheck disable=SC2086
    apt-get -o DPkg::Lock::Timeout=300 install -y -qq ${ZRB_APT_OPTIONS:-} $missing
}

# zrb_build DIR BUILD_TYPE [cmake options...]
zrb_build() {
    local dir="$1" type="$2"
    shift 2
    cmake -S "$ZRB_ROOT" -B "$ZRB_ROOT/$dir" -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
    cmake --build "$ZRB_ROOT/$dir" -j"$(nproc)"
}

# zrb_build_web: the page into build-web/ (emscripten's CMake wrapper, -O2).
zrb_build_web() {
    # Debian's emscripten runs its tools with node, which must find Debian's
    # node modules (acorn) even when another node comes first on PATH.
    export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"
    emcmake cmake -S "$ZRB_ROOT" -B "$ZRB_ROOT/build-web" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$ZRB_ROOT/build-web" -j"$(nproc)"
}

# zrb_web_test_setup: chromium, npm and the browser tests' node modules.
zrb_web_test_setup() {
    ZRB_APT_OPTIONS=--no-install-recommends zrb_install_packages $ZRB_WEB_PACKAGES $ZRB_WEB_TEST_PACKAGES || return 1
    command -v npm >/dev/null || ZRB_APT_OPTIONS=--no-install-recommends zrb_install_packages npm || return 1
    (cd "$ZRB_ROOT/tests/web" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
}

#!/usr/bin/env bash
# The tracker as a web page: installs what is missing (emscripten), builds the
# page into build-web/ (index.html, zrbtracker.js, .wasm, .data) and serves
# that folder on http://127.0.0.1:8080/.
# Usage: scripts/web.sh [build]     (build: only build)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
ZRB_APT_OPTIONS=--no-install-recommends zrb_install_packages $ZRB_WEB_PACKAGES
zrb_build_web
[ "${1:-}" = build ] && exit 0
echo "ZRB Tracker: http://127.0.0.1:8080/  (Ctrl-C stops the server)"
cd "$ZRB_ROOT/build-web"
exec python3 -m http.server 8080 --bind 127.0.0.1

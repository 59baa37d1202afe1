#!/usr/bin/env bash
# Installs what is missing, builds into build/ and starts the tracker.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
zrb_install_packages $ZRB_BUILD_PACKAGES
zrb_build build Release
exec "$ZRB_ROOT/build/zrbtracker"

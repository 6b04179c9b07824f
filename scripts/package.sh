#!/usr/bin/env bash
# Installs what is missing, builds, and packs the Debian package
# build/package/vantelo_<version>_<arch>.deb (CMake's packager over what
# `cmake --install` installs under /usr). Install it with
# `sudo apt install ./build/package/vantelo_*.deb`.
set -euo pipefail
source "$(dirname "$0")/build.sh"
out="$build/package"
cpack -G DEB -B "$out" --config "$build/CPackConfig.cmake"
rm -rf "$out/_CPack_Packages"
ls "$out"/*.deb

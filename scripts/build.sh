# Sourced by run.sh and test.sh: installs what is missing and builds the
# whole tree into $build with every core; sets $build and $jobs.
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
build=${VANTELO_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$jobs"

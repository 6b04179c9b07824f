# Sourced by run.sh and test.sh: installs what is missing and builds the
# whole tree into $build with every core; sets $build and $jobs.
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
build=${VANTELO_BUILD_DIR:-build}

# Configures a build folder once; later builds re-run CMake by themselves
# when a CMakeLists.txt changes. Only warnings and errors are shown (not the
# optional packages that Qt looks for and this project does not need).
# A compiler cache shared by every build folder and clone on this machine
# makes rebuilds and fresh clones cheap; the build works without it too.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # Paths under the clone's parent are hashed relative to it, so two clones
  # side by side share their cache entries.
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(cd .. && pwd)}
  export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-true}
fi
configure() {
  local dir=$1
  shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_MESSAGE_LOG_LEVEL=NOTICE "${launcher[@]}" "$@"
  fi
}

configure "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$jobs"

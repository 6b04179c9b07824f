#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# Then, unless VANTELO_SKIP_TSAN=1, rebuilds the line-engine tests
# (label "spine") under ThreadSanitizer and runs them.
set -euo pipefail
source "$(dirname "$0")/build.sh"
ctest --test-dir "$build" -j "$jobs" --output-on-failure

if [ "${VANTELO_SKIP_TSAN:-0}" != 1 ]; then
  tsan=${build}-tsan
  cmake -S . -B "$tsan" -G Ninja -DVANTELO_SANITIZE=thread \
    -DVANTELO_BUILD_GUI=OFF -DVANTELO_BUILD_BENCHMARKS=OFF
  if cmake --build "$tsan" --target help | grep -q '^tests_spine'; then
    cmake --build "$tsan" -j "$jobs" --target tests_spine
    TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
      ctest --test-dir "$tsan" -L spine -j "$jobs" --output-on-failure
  fi
fi
echo "All tests passed."

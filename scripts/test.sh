#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# Then rebuilds the line-engine tests (label "spine") under ThreadSanitizer
# and runs them (skip with VANTELO_SKIP_TSAN=1), the same under
# AddressSanitizer with LeakSanitizer (VANTELO_SKIP_ASAN=1), and builds the
# fuzz targets with clang and runs each for a few seconds
# (VANTELO_SKIP_FUZZ=1; VANTELO_FUZZ_SECONDS, default 5).
set -euo pipefail
source "$(dirname "$0")/build.sh"
ctest --test-dir "$build" -j "$jobs" --output-on-failure

# Builds the spine tests in folder $1 with sanitizer $2 and runs them.
spine_under() {
  local dir=$1 sanitizer=$2
  configure "$dir" -DVANTELO_SANITIZE="$sanitizer" \
    -DVANTELO_BUILD_GUI=OFF -DVANTELO_BUILD_BENCHMARKS=OFF
  if cmake --build "$dir" --target help | grep -q '^tests_spine'; then
    cmake --build "$dir" -j "$jobs" --target tests_spine
    ctest --test-dir "$dir" -L spine -j "$jobs" --output-on-failure || rerun_tool_failures "$dir"
  fi
}

# LeakSanitizer's own tracer sometimes crashes at a program's exit ("Tracer
# caught signal 11 ... LeakSanitizer has encountered a fatal error"): a fault
# of the tool, not a finding. The failed tests are run once more only when
# every one of them failed that way; any other failure stands.
rerun_tool_failures() {
  local dir=$1 log=$1/Testing/Temporary
  local failed tool
  failed=$(wc -l < "$log/LastTestsFailed.log")
  tool=$(grep -c "LeakSanitizer has encountered a fatal error" "$log/LastTest.log" || true)
  if [ "$failed" -gt 0 ] && [ "$tool" -ge "$failed" ]; then
    echo "The leak checker itself failed in $failed test(s); running them once more."
    ctest --test-dir "$dir" --rerun-failed --output-on-failure
  else
    return 1
  fi
}

if [ "${VANTELO_SKIP_TSAN:-0}" != 1 ]; then
  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" spine_under "${build}-tsan" thread
fi

if [ "${VANTELO_SKIP_ASAN:-0}" != 1 ]; then
  ASAN_OPTIONS="detect_leaks=1 halt_on_error=1 abort_on_error=1" \
  UBSAN_OPTIONS="halt_on_error=1 print_stacktrace=1" \
    spine_under "${build}-asan" address
fi

if [ "${VANTELO_SKIP_FUZZ:-0}" != 1 ]; then
  fuzz=${build}-fuzz
  targets=(fuzz_vrc_walker fuzz_wav_header fuzz_trc_decode)
  CC=clang CXX=clang++ configure "$fuzz" -DVANTELO_FUZZ=ON \
    -DVANTELO_ONLY="platform;testsupport;speechcodec" \
    -DVANTELO_BUILD_GUI=OFF -DVANTELO_BUILD_BENCHMARKS=OFF
  cmake --build "$fuzz" -j "$jobs" --target "${targets[@]}"
  for target in "${targets[@]}"; do
    corpus="$fuzz/corpus/$target"
    mkdir -p "$corpus"
    echo "Fuzzing $target for ${VANTELO_FUZZ_SECONDS:-5} s"
    # A finding (crash, leak, sanitizer report) ends the run with an error.
    "$fuzz/bin/$target" -max_total_time="${VANTELO_FUZZ_SECONDS:-5}" -max_len=4096 \
      -print_final_stats=1 -artifact_prefix="$fuzz/" "$corpus" 2>&1 | tail -n 12
  done
fi
echo "All tests passed."

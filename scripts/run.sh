#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the simulated
# line: a simulated adapter daemon is started in the background unless one
# already serves adapter 0, then the line monitor runs in the foreground.
set -euo pipefail
source "$(dirname "$0")/build.sh"
bin="$PWD/$build/bin"

daemon_pid=""
if ! "$bin/linesim" status >/dev/null 2>&1; then
  "$bin/linesim" serve &
  daemon_pid=$!
  for _ in $(seq 50); do
    "$bin/linesim" status >/dev/null 2>&1 && break
    sleep 0.1
  done
  echo "Simulated adapter started (pid $daemon_pid); script it with $bin/linesim"
fi
stop_daemon() { [ -n "$daemon_pid" ] && kill "$daemon_pid" 2>/dev/null && wait "$daemon_pid" 2>/dev/null; true; }
trap stop_daemon EXIT
"$bin/tyctl" monitor

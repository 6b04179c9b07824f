#!/usr/bin/env bash
# Installs what is missing, builds, and starts the phone on the simulated
# line: a simulated adapter daemon is started in the background unless one
# already serves adapter 0, then `vantelo` runs in the foreground (headless
# until its window exists: it prints every change of its view and takes
# actions typed on standard input).
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
echo "Vantelo runs; type actions (hook, key 5, number 0212345678, ars, quit ...), Ctrl+C ends it."
"$bin/vantelo" --headless

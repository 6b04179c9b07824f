#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the simulated
# line: a simulated adapter daemon is started in the background unless one
# already serves adapter 0, then the line monitor runs until Ctrl-C (or
# SIGTERM); the monitor is stopped first, then the daemon this script
# started.
set -euo pipefail
source "$(dirname "$0")/build.sh"
bin="$(cd "$build" && pwd)/bin"

daemon_pid=""
monitor_pid=""
stop_all() {
  if [ -n "$monitor_pid" ]; then
    kill -TERM "$monitor_pid" 2>/dev/null || true
    wait "$monitor_pid" 2>/dev/null || true
  fi
  if [ -n "$daemon_pid" ]; then
    kill -TERM "$daemon_pid" 2>/dev/null || true
    wait "$daemon_pid" 2>/dev/null || true
  fi
}
trap stop_all EXIT
trap 'exit 130' INT TERM

if ! "$bin/linesim" status >/dev/null 2>&1; then
  # A session of its own, so the terminal's Ctrl-C does not end the adapter
  # before the monitor (whose last line would then be a removal).
  setsid "$bin/linesim" serve &
  daemon_pid=$!
  for _ in $(seq 50); do
    "$bin/linesim" status >/dev/null 2>&1 && break
    sleep 0.1
  done
  echo "Simulated adapter started (pid $daemon_pid); script it with $bin/linesim"
fi
"$bin/tyctl" monitor &
monitor_pid=$!
wait "$monitor_pid"
monitor_pid=""

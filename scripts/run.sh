#!/usr/bin/env bash
# Installs what is missing, builds, and starts the phone on the simulated
# line: a simulated adapter daemon is started in the background unless one
# already serves adapter 0, then `vantelo` runs (headless until its window
# exists: it prints every change of its view and takes actions typed on
# standard input) until Ctrl-C, SIGTERM or `quit`; the phone is stopped
# first, then the daemon this script started.
set -euo pipefail
source "$(dirname "$0")/build.sh"
bin="$(cd "$build" && pwd)/bin"

daemon_pid=""
phone_pid=""
stop_all() {
  if [ -n "$phone_pid" ]; then
    kill -TERM "$phone_pid" 2>/dev/null || true
    wait "$phone_pid" 2>/dev/null || true
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
  # before the phone (which would then see it removed).
  setsid "$bin/linesim" serve &
  daemon_pid=$!
  for _ in $(seq 50); do
    "$bin/linesim" status >/dev/null 2>&1 && break
    sleep 0.1
  done
  echo "Simulated adapter started (pid $daemon_pid); script it with $bin/linesim"
fi
echo "Vantelo runs; type actions (hook, key 5, number 0212345678, ars, quit ...), Ctrl+C ends it."
# Started in the background so the traps run; it still reads this terminal.
"$bin/vantelo" --headless <&0 &
phone_pid=$!
wait "$phone_pid"
phone_pid=""

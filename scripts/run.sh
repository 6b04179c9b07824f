#!/usr/bin/env bash
# Installs what is missing, builds, and starts the phone on the simulated
# line: a simulated adapter daemon is started in the background unless one
# already serves adapter 0, then the `vantelo` window opens (on a virtual
# screen under xvfb-run when there is no display) until it is closed from
# its menu, Ctrl-C or SIGTERM. VANTELO_HEADLESS=1 runs `vantelo --headless`
# instead: it prints every change of its view and takes actions typed on
# standard input (`quit` ends it). The phone is stopped first, then the
# daemon this script started.
set -euo pipefail
source "$(dirname "$0")/build.sh"
bin="$(cd "$build" && pwd)/bin"

daemon_pid=""
phone_pid=""
runner_pid=""
work="$(mktemp -d)"  # private (0700): where the window's pid is noted
stop_all() {
  if [ -n "$runner_pid" ] && [ -s "$work/pid" ]; then
    kill -TERM "$(cat "$work/pid")" 2>/dev/null || true
    # The phone ends in well under a second; a hung one is not waited for.
    for _ in $(seq 100); do
      kill -0 "$runner_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL "$runner_pid" 2>/dev/null || true
    wait "$runner_pid" 2>/dev/null || true
  fi
  if [ -n "$phone_pid" ]; then
    kill -TERM "$phone_pid" 2>/dev/null || true
    wait "$phone_pid" 2>/dev/null || true
  fi
  if [ -n "$daemon_pid" ]; then
    kill -TERM "$daemon_pid" 2>/dev/null || true
    wait "$daemon_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
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

if [ "${VANTELO_HEADLESS:-0}" = 1 ]; then
  echo "Vantelo runs; type actions (hook, key 5, number 0212345678, ars, quit ...), Ctrl+C ends it."
  # Started in the background so the traps run; it still reads this terminal.
  "$bin/vantelo" --headless <&0 &
  phone_pid=$!
  wait "$phone_pid"
  phone_pid=""
  exit 0
fi

runner=()
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  if ! command -v xvfb-run >/dev/null; then
    echo "No display and no xvfb-run: run scripts/install-deps.sh, or VANTELO_HEADLESS=1 $0" >&2
    exit 1
  fi
  echo "No display: the Vantelo window opens on a virtual screen (xvfb-run), so nothing is visible here; VANTELO_HEADLESS=1 gives the text interface."
  runner=(xvfb-run -a -s "-screen 0 1280x1024x24")
fi
echo "Vantelo window opened on the simulated line; Ctrl+C ends it."
# A session of its own, so that Ctrl-C reaches this script alone (which ends
# the phone by SIGTERM, then the virtual screen goes with it). The inner
# shell notes the phone's pid, then becomes the phone.
setsid "${runner[@]}" bash -c 'echo $$ > "$1"; exec "$2"' vantelo "$work/pid" "$bin/vantelo" \
  </dev/null &
runner_pid=$!
wait "$runner_pid"
runner_pid=""

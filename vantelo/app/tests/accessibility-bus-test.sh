#!/usr/bin/env bash
# The phone window on the desktop's accessibility bus: `vantelo` on a
# simulated line, under Xvfb with a private D-Bus session and its own AT-SPI
# bus, read and driven through pyatspi (atspi_phone_window.py).
#   accessibility-bus-test.sh BIN_DIR
# Exits 77 (skipped) with one line when pyatspi, AT-SPI or Xvfb is missing.
# Everything runs in a private folder; every process started is stopped.
set -euo pipefail
bin="$(realpath "$1")"
here="$(dirname "$(realpath "$0")")"

# Debian's Python, where python3-pyatspi installs (a python3 first on PATH
# may be another one).
py=/usr/bin/python3
[ -x "$py" ] || py="$(command -v python3 || echo python3)"
missing=""
"$py" -c 'import pyatspi' 2>/dev/null || missing+=" python3-pyatspi"
[ -x /usr/libexec/at-spi-bus-launcher ] || missing+=" at-spi2-core"
command -v dbus-run-session >/dev/null || missing+=" dbus"
command -v Xvfb >/dev/null || missing+=" xvfb"
if [ -n "$missing" ]; then
  echo "SKIP: accessibility bus test needs:$missing"
  exit 77
fi

if [ -z "${VANTELO_A11Y_INNER:-}" ]; then
  work="$(mktemp -d)"
  xvfb=""
  cleanup() {
    [ -n "$xvfb" ] && kill -TERM "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$work"
  }
  trap cleanup EXIT
  # A free display, told by the server itself once it listens.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
  export DISPLAY=":$(cat "$work/display")"
  export VANTELO_A11Y_INNER="$work"
  # The private session bus ends with the inner run.
  timeout -k 5 100 dbus-run-session -- bash "$0" "$bin"
  exit $?
fi

work="$VANTELO_A11Y_INNER"
export XDG_RUNTIME_DIR="$work/run" VANTELO_HOME="$work/home" XDG_CONFIG_HOME="$work/config"
export QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export QT_MEDIA_BACKEND=gstreamer NO_AT_BRIDGE=0 LANG=C.UTF-8
mkdir -m 700 "$XDG_RUNTIME_DIR"
pids=()
stop_all() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill -TERM "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
}
trap stop_all EXIT

# The AT-SPI bus of this session (it starts its registry itself).
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
pids+=($!)
"$bin/linesim" serve >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do "$bin/linesim" status >/dev/null 2>&1 && break; sleep 0.1; done
"$bin/linesim" status >/dev/null || { echo "FAIL: linesim did not start"; exit 1; }
"$bin/vtdb" add-contact Name=홍길동 Group=가족 HomePhone=0212345678 >/dev/null
"$bin/vantelo" >"$work/vantelo.log" 2>&1 &
vantelo=$!
pids+=($vantelo)
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/Korvane_TYC_Plus.sock" ] && break; sleep 0.1; done
[ -S "$XDG_RUNTIME_DIR/Korvane_TYC_Plus.sock" ] || { echo "FAIL: vantelo did not start"; exit 1; }

status=0
timeout -k 5 60 "$py" "$here/atspi_phone_window.py" "$vantelo" "$bin/linesim" || status=$?
[ "$status" -eq 0 ] || { echo "--- vantelo's output"; cat "$work/vantelo.log"; }
exit "$status"

#!/usr/bin/env bash
# The picture docs/images/phone-ringing.png: the running `vantelo` on the
# simulated line, rung with caller ID for a contact, on a virtual screen.
#   xvfb-run -a -s "-screen 0 1024x768x24" bash scripts/ringing-screenshot.sh [OUT.png]
# Uses a private application and settings folder; the build is build/.
set -euo pipefail
cd "$(dirname "$0")/.."
bin="$(pwd)/${VANTELO_BUILD_DIR:-build}/bin"
out="$(realpath -m "${1:-docs/images/phone-ringing.png}")"
source scripts/private-session.sh
"$bin/vtdb" add-contact Name=홍길동 Group=가족 HomePhone=0212345678 CellPhone=01012345678 \
  Email=gildong@example.com >/dev/null
"$bin/vtdb" add-contact Name=김서연 Group=친구 HomePhone=0317654321 >/dev/null
"$bin/vantelo" &
pids+=($!)
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/Korvane_TYC_Plus.sock" ] && break; sleep 0.1; done
sleep 1
# Caller ID while it rings, so the address book also shows the caller.
"$bin/linesim" ring 1000 1000 >/dev/null
sleep 0.5
"$bin/linesim" cid 0212345678 >/dev/null
sleep 2.5  # the caller ID and the pop-up's growing
"$bin/vantelo_grabscreen" "$out"
echo "$out"

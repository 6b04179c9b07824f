#!/usr/bin/env bash
# The picture docs/images/phone-new-messages.png: the running `vantelo` with
# two messages nobody has heard yet (the count on the answering-machine
# indicator), on the simulated line and a virtual screen.
#   xvfb-run -a -s "-screen 0 1024x768x24" bash scripts/messages-screenshot.sh [OUT.png]
# Uses a private application and settings folder; the build is build/.
set -euo pipefail
cd "$(dirname "$0")/.."
bin="$(pwd)/${VANTELO_BUILD_DIR:-build}/bin"
out="$(realpath -m "${1:-docs/images/phone-new-messages.png}")"
source scripts/private-session.sh
"$bin/vtdb" add-contact Name=홍길동 Group=가족 HomePhone=0212345678 >/dev/null
# Two messages the machine took this morning, and a call the user answered.
rec="$VANTELO_HOME/Record/2026-12-09"
mkdir -p -m 700 "$rec"
for f in 081502.wav 093047.wav 101010.wav; do printf 'RIFF' >"$rec/$f"; done
printf '%s\n' \
  "3	홍길동	0212345678	0	2026-12-09 08:15:02	14	$rec/	081502.wav	1		0	" \
  "1		0317654321	0	2026-12-09 09:02:11	95			0		0	" \
  "3		01098765432	0	2026-12-09 09:30:47	62	$rec/	093047.wav	1		0	" \
  >"$work/calls.tsv"
"$bin/vtdb" import-calls "$work/calls.tsv" >/dev/null
"$bin/vantelo" &
pids+=($!)
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/Korvane_TYC_Plus.sock" ] && break; sleep 0.1; done
sleep 2
"$bin/vantelo_grabscreen" "$out"
echo "$out"

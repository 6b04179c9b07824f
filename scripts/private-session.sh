# Sourced by the screenshot scripts: a private runtime, application and
# settings folder under one temporary folder, the simulated line serving in
# it, and a clean-up on exit that stops every process added to `pids`
# (newest first) and removes the folder. Expects $bin.
work="$(mktemp -d)"
export XDG_RUNTIME_DIR="$work/run" VANTELO_HOME="$work/home" XDG_CONFIG_HOME="$work/config"
mkdir -m 700 "$XDG_RUNTIME_DIR"
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill -TERM "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

"$bin/linesim" serve >/dev/null &
pids+=($!)
for _ in $(seq 50); do "$bin/linesim" status >/dev/null 2>&1 && break; sleep 0.1; done

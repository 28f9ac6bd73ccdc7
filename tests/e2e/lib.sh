# Shared steps of the end-to-end tests: the real vellumo binary on a real X server (Xvfb).
# Usage from a test: source lib.sh "$@"  (arguments: binary, source dir, artefact dir)
set -euo pipefail
VELLUMO=$1
SOURCE_DIR=$2
ARTEFACTS=$3
mkdir -p "$ARTEFACTS"

# Re-run the calling script inside its own X server unless it already has one.
if [ -z "${E2E_IN_XVFB:-}" ]; then
  export E2E_IN_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$@"
fi
unset QT_QPA_PLATFORM
export XDG_RUNTIME_DIR=$(mktemp -d)
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Waits up to 20 s for a window whose title is exactly $1; prints its id.
wait_window() {
  local id
  for _ in $(seq 1 200); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  return 1
}

# Waits up to 20 s for process $1 to end; sets EXIT_STATUS.
wait_exit() {
  for _ in $(seq 1 200); do
    if ! kill -0 "$1" 2>/dev/null; then
      set +e; wait "$1"; EXIT_STATUS=$?; set -e
      return 0
    fi
    sleep 0.1
  done
  kill "$1" 2>/dev/null || true
  fail "process $1 did not end"
}

# Presses Return in window $1 (a message box).
press_return() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  sleep 0.2
  xdotool key --clearmodifiers Return
}

# Clicks at x, y inside window $1.
click_in() {
  xdotool mousemove --window "$1" "$2" "$3"
  sleep 0.1
  xdotool click 1
}

# Presses keys $2... in window $1, as xdotool names them, and lets the window answer.
keys() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  sleep 0.2
  shift
  xdotool key --clearmodifiers "$@"
  sleep 0.8
}

#!/usr/bin/env bash
# Takes the README's screenshot: the demo supervising under a private Xvfb, the main window cut
# out of the screen. Usage: scripts/screenshot.sh [OUTPUT.png]
set -euo pipefail
source "$(dirname "$0")/common.sh"
trap 'stop_demo_servers; cleanup' EXIT
output="$(realpath -m "${1:-$KESTRUNE_ROOT/docs/screenshot.png}")"

ensure_packages
build_windows
unset DISPLAY
ensure_display
ensure_wine
prepare_demo

(cd "$KESTRUNE_DEMO" && wine kestrune.exe >/dev/null 2>&1 </dev/null &)
for _ in $(seq 60); do
  xdotool search --name "Kestrune v0.1 Pre-Beta Build" >/dev/null 2>&1 && break
  sleep 0.5
done
sleep 8  # a check or two, so the status line shows the verdict
mkdir -p "$(dirname "$output")"
window="$(xdotool search --name "Kestrune v0.1 Pre-Beta Build" | head -1)"
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root -crop "$((WIDTH + 16))x$((HEIGHT + 44))+$((X - 8))+$((Y - 38))" "$output"
# The exit trap ends Kestrune and the stand-in server together with the Wine server.
log "screenshot written to $output"

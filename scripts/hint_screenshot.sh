#!/usr/bin/env bash
# Takes the README's hint screenshot: the main window under Xvfb with the pointer resting on the
# auto-start check box, so its balloon shows. Usage: scripts/hint_screenshot.sh [OUTPUT.png]
set -euo pipefail
source "$(dirname "$0")/common.sh"
trap cleanup EXIT
output="$(realpath -m "${1:-$KESTRUNE_ROOT/docs/hint.png}")"
title="Kestrune v0.1 Pre-Beta Build"

ensure_packages
build_windows
ensure_display
ensure_wine

# A folder of its own with auto-start off, so the window stays on screen.
folder="$KESTRUNE_BUILD/hint-demo"
mkdir -p "$folder"
cp "$KESTRUNE_WIN/bin/kestrune.exe" "$folder/kestrune.exe"
printf '[Main]\r\nServerPath=C:\\server\\srcds.exe\r\nQstatsPath=C:\\qstat\\qstat.exe\r\nAdditionalParams=-port 27015 +map de_dust2\r\nQueryIP=127.0.0.1\r\nQueryPort=27015\r\nDelay=5\r\n[Settings]\r\nAutoStart=0\r\n' \
  > "$folder/KTN-Serv.ini"

(cd "$folder" && wine kestrune.exe >/dev/null 2>&1 </dev/null &)
window=""
for _ in $(seq 60); do
  window="$(xdotool search --name "$title" 2>/dev/null | head -1)" && [ -n "$window" ] && break
  sleep 0.5
done
[ -n "$window" ] || { echo "the main window did not come up" >&2; exit 1; }
sleep 1
# In the screen's bottom-right corner, so the balloon flips above and to the left of the pointer
# and shows over the window itself, shadow and all.
eval "$(xdotool getdisplaygeometry --shell)"
xdotool windowmove --sync "$window" "$((WIDTH - 400))" "$((HEIGHT - 400))"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
# The check box sits at (224, 280) in the client area, 130 x 19; rest on its caption.
xdotool mousemove "$((X + 270))" "$((Y + 289))"
sleep 0.2
xdotool mousemove "$((X + 272))" "$((Y + 290))"
sleep 1.5  # the first pause and the fade-in
mkdir -p "$(dirname "$output")"
import -window root -crop "$((WIDTH + 16))x$((HEIGHT + 44))+$((X - 8))+$((Y - 38))" "$output"
# The exit trap ends Kestrune with the Wine server.
log "screenshot written to $output"

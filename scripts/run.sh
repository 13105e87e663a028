#!/usr/bin/env bash
# Sets up what is missing, builds Kestrune and starts it under Wine in a demo folder, supervising
# the stand-in server through the stand-in query tool.
set -euo pipefail
source "$(dirname "$0")/common.sh"
trap cleanup EXIT

ensure_packages
build_windows
ensure_display
ensure_wine
prepare_demo

cat <<TXT
== starting kestrune.exe in $KESTRUNE_DEMO
   It supervises the stand-in server (srcds.exe, UDP port 27015) every 5 seconds.
   To make the stand-in server stop answering:  touch "$KESTRUNE_DEMO/standin-server.mute"
   Kestrune then kills and relaunches it; to let it answer again:  rm "$KESTRUNE_DEMO/standin-server.mute"
   Close the window (or its menu "Выход") to end; the stand-in server is ended after it.
TXT
cd "$KESTRUNE_DEMO"
wine kestrune.exe </dev/null || true
stop_demo_servers

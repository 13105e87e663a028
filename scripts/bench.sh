#!/usr/bin/env bash
# Sets up what is missing, builds, and runs the benchmarks under Wine.
set -euo pipefail
source "$(dirname "$0")/common.sh"
trap cleanup EXIT

ensure_packages
build_windows
ensure_display
ensure_wine

log "one check waiting for a tool that runs 5 s"
"$KESTRUNE_ROOT/scripts/wine-run" "$WINEPREFIX" "$KESTRUNE_WIN/bin/tool_wait_bench.exe" 5000

log "the watchdog: exit to relaunch, a server that ends at once, the cost of a healthy server"
"$KESTRUNE_ROOT/scripts/wine-run" "$WINEPREFIX" "$KESTRUNE_WIN/bin/watchdog_bench.exe"

log "building one hint balloon, and its fade-in"
"$KESTRUNE_ROOT/scripts/wine-run" "$WINEPREFIX" "$KESTRUNE_WIN/bin/hint_balloon_bench.exe"

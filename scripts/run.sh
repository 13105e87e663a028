#!/usr/bin/env bash
# Sets up what is missing, builds Kestrune and starts it under Wine.
set -euo pipefail
source "$(dirname "$0")/common.sh"
trap cleanup EXIT

ensure_packages
build_windows
ensure_display
ensure_wine

log "starting kestrune.exe"
wine "$KESTRUNE_WIN/bin/kestrune.exe"

#!/usr/bin/env bash
# Sets up what is missing, builds both configurations and runs every test: the portable rules
# natively under the sanitizers, then everything under Wine.
set -euo pipefail
source "$(dirname "$0")/common.sh"
trap cleanup EXIT

ensure_packages
build_native
build_windows
ensure_display
ensure_wine

log "native tests"
ctest --test-dir "$KESTRUNE_NATIVE" -j2 --output-on-failure
log "Wine tests"
ctest --test-dir "$KESTRUNE_WIN" --output-on-failure

# Shared by the run and test commands: installs what is missing, builds, and prepares Wine and a
# display. Sourced, not run.
KESTRUNE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
KESTRUNE_BUILD="${KESTRUNE_BUILD:-$KESTRUNE_ROOT/build}"
KESTRUNE_WIN="$KESTRUNE_BUILD/win64"
KESTRUNE_NATIVE="$KESTRUNE_BUILD/native"
export WINEPREFIX="$KESTRUNE_WIN/wineprefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="

log() { printf '== %s\n' "$*"; }

# Debian packages, installed quietly and only when one is missing.
ensure_packages() {
  local wanted=(cmake make g++ clang-format googletest g++-mingw-w64-x86-64-posix
                wine wine64 xvfb xserver-xephyr xauth openbox x11-utils xdotool imagemagick "$@")
  local missing=()
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  log "installing ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages: ${missing[*]}; run as root to install them" >&2
    return 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >/dev/null
  apt-get install -y -qq "${missing[@]}" >/dev/null
}

build_windows() {
  log "building kestrune.exe, the stand-ins and the Wine tests"
  cmake -S "$KESTRUNE_ROOT" -B "$KESTRUNE_WIN" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$KESTRUNE_ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$KESTRUNE_WIN" -j2 -- --no-print-directory >/dev/null
}

build_native() {
  log "building the portable rules and their tests with sanitizers"
  cmake -S "$KESTRUNE_ROOT" -B "$KESTRUNE_NATIVE" -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$KESTRUNE_NATIVE" -j2 -- --no-print-directory >/dev/null
}

# An X display: the one given, or a private Xvfb with a window manager for focus and activation.
ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n=99
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  KESTRUNE_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  openbox >/dev/null 2>&1 &
  KESTRUNE_WM_PID=$!
}

# Makes $WINEPREFIX once, without crash dialogs; a command given is run in it once made (a
# further registry value).
create_wine_prefix() {
  [ -f "$WINEPREFIX/.kestrune-ready" ] && return 0
  log "creating the Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 </dev/null || true
  wineserver -w
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >/dev/null 2>&1 </dev/null
  if [ $# -gt 0 ]; then "$@" >/dev/null 2>&1 </dev/null; fi
  wineserver -w
  touch "$WINEPREFIX/.kestrune-ready"
}

# The Wine prefix lives in the build tree and is made once; the Wine server is then kept warm.
ensure_wine() {
  create_wine_prefix
  wineserver -p >/dev/null 2>&1 || true
  # Start the background services now, away from any caller's pipes.
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

# A demo folder in the build tree: kestrune.exe beside the stand-in server (as srcds.exe) and the
# stand-in query tool (as qstat\qstat.exe), and, when Kestrune has no settings there yet, a
# settings file pointing at them with auto-start on, so supervision runs from the first moment.
KESTRUNE_DEMO="$KESTRUNE_BUILD/demo"
prepare_demo() {
  mkdir -p "$KESTRUNE_DEMO/qstat"
  cp "$KESTRUNE_WIN/bin/kestrune.exe" "$KESTRUNE_DEMO/kestrune.exe"
  cp "$KESTRUNE_WIN/bin/standin_server.exe" "$KESTRUNE_DEMO/srcds.exe"
  cp "$KESTRUNE_WIN/bin/standin_qstat.exe" "$KESTRUNE_DEMO/qstat/qstat.exe"
  : > "$KESTRUNE_DEMO/qstat/standin-qstat.ctl"
  rm -f "$KESTRUNE_DEMO/standin-server.mute"
  [ -f "$KESTRUNE_DEMO/KTN-Serv.ini" ] && return 0
  local dir
  dir="$(winepath -w "$KESTRUNE_DEMO" 2>/dev/null)"
  printf '[Main]\r\nServerPath=%s\\srcds.exe\r\nQstatsPath=%s\\qstat\\qstat.exe\r\nAdditionalParams=-port 27015 +map de_dust2\r\nQueryIP=127.0.0.1\r\nQueryPort=27015\r\nDelay=5\r\n[Settings]\r\nAutoStart=1\r\n' \
    "$dir" "$dir" > "$KESTRUNE_DEMO/KTN-Serv.ini"
}

# Ends the demo's stand-in servers, which outlive the supervisor as real servers do.
stop_demo_servers() {
  wine taskkill /f /im srcds.exe >/dev/null 2>&1 </dev/null || true
}

cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${KESTRUNE_WM_PID:-}" ] && kill "$KESTRUNE_WM_PID" 2>/dev/null
  [ -n "${KESTRUNE_XVFB_PID:-}" ] && kill "$KESTRUNE_XVFB_PID" 2>/dev/null
  return 0
}

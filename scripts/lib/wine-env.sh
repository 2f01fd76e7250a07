# A private X display and Wine prefix for running the Windows build. Sourced by scripts/.
#
#   wine_env_start PREFIX_DIR   starts Xvfb (1280x800 unless CLUMA_SCREEN is set) and a Wine
#                               session kept up by one idle process; exports DISPLAY and
#                               WINEPREFIX
#   wine_env_stop               stops all of it by process id
#
# The session is started once, alone, before anything else runs in the prefix: two programs
# that start a prefix's session at the same moment can hang it.

CLUMA_WINE_PIDS=()

wine_env_start() {
  local prefix="$1"
  local idle_exe="$2"
  local screen="${CLUMA_SCREEN:-1280x800}"
  mkdir -p "$prefix"
  export WINEPREFIX="$prefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64

  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$fdfile" 2>/dev/null &
  CLUMA_WINE_PIDS+=($!)
  local waited=0
  until [ -s "$fdfile" ]; do
    sleep 0.1
    waited=$((waited + 1))
    if [ $waited -gt 100 ]; then
      echo "Xvfb did not start within 10 s" >&2
      rm -f "$fdfile"
      return 1
    fi
  done
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"

  wine_refuse_running_session "$prefix" || return 1
  if [ ! -f "$prefix/system.reg" ]; then
    echo "Preparing a Wine prefix in $prefix (first run only)..."
  fi
  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
  wine_unmanaged_windows
  # wineboot -i starts the session's start-up a second time, so that session has two service
  # managers, each answering some requests: a service installed through one is unknown to the
  # other. It is left to end; the session the tests use starts afresh with the idle process.
  /usr/lib/wine/wineserver -w
  if [ -n "$idle_exe" ] && [ -f "$idle_exe" ]; then
    local ready="$prefix/session-ready"
    rm -f "$ready"
    /usr/lib/wine/wine64 "$idle_exe" "Z:${ready//\//\\}" >/dev/null 2>&1 &
    CLUMA_WINE_PIDS+=($!)
    local waited=0
    until [ -e "$ready" ]; do
      sleep 0.1
      waited=$((waited + 1))
      if [ $waited -gt 600 ] || ! kill -0 "${CLUMA_WINE_PIDS[-1]}" 2>/dev/null; then
        echo "the Wine session in $prefix did not start within 60 s" >&2
        return 1
      fi
    done
  fi
}

# Refuses a prefix whose session is already running: every socket of a session is made by
# its wineserver, in the network namespace that server was started in, so a session started
# elsewhere (by hand, outside the tests' namespace) would put the tests' sockets out of reach.
wine_refuse_running_session() {
  local prefix="$1" server pid
  [ -d "$prefix" ] || return 0
  # The server works in a folder named after the prefix folder's device and inode.
  server="$(printf 'server-%x-%x' $(stat -c '%d %i' "$prefix"))"
  for pid in $(pgrep wineserver); do
    if [ "$(basename "$(readlink "/proc/$pid/cwd")")" = "$server" ]; then
      echo "refusing to run: a Wine session for $prefix is already running (wineserver" \
        "$pid); end it first: WINEPREFIX=$prefix /usr/lib/wine/wineserver -k" >&2
      return 1
    fi
  done
}

# Wine draws and places its windows itself, as Windows does, instead of leaving them to an X
# window manager: a window manager refuses to maximise a window without a sizing border, such
# as the console, which Windows maximises all the same. No window manager runs on the private
# display, so the keyboard goes to the window under the pointer; Wine never waits for one.
wine_unmanaged_windows() {
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
    >/dev/null 2>&1 || true
}

wine_env_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then
    /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  fi
  local pid
  for pid in "${CLUMA_WINE_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${CLUMA_WINE_PIDS[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  CLUMA_WINE_PIDS=()
}

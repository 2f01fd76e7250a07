#!/usr/bin/env bash
# Watching a screen: the project's cluma-screen.exe (under Wine) and Debian's x11vnc serve the
# same Xvfb display in turn, and the same watch_client measures both:
#   idle, no client      the server's CPU over 20 s and its resident memory
#   idle, one client     the first whole frame (ms, bytes) and the server's CPU over 20 s
#   a changing square    updates per second touching a 300x300 square repainted every ~16 ms,
#                        and the server's CPU meanwhile (10 s)
# The server's CPU is its own process's (utime + stime); wineserver and Xvfb work for both
# servers (the repainting program draws through them too) and are given beside it.
#
#   bench/watch_bench.sh WIN_BUILD NATIVE_BUILD RUNS
# Runs inside scripts/bench's Wine session (DISPLAY, WINEPREFIX, CLUMA_XVFB_PID), in its
# loopback-only network.
set -euo pipefail
win_build="$1"
native_build="$2"
runs="$3"
: "${DISPLAY:?}" "${WINEPREFIX:?}"
wine=/usr/lib/wine/wine64
watch_client="$native_build/bench/watch_client"
repaint="$win_build/bench/repaint_window.exe"
password=fernway_417
screen_port=5933
x11vnc_port=5934
idle_seconds=20
changing_seconds=10
ticks=$(getconf CLK_TCK)
work=$(mktemp -d)
started=()

stop_started() {
  local pid
  for pid in "${started[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${started[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  started=()
}
trap 'exec 7>&-; stop_started; rm -rf "$work"' EXIT

# Waits up to 30 s for a line starting with $2 in the file $1.
wait_for_line() {
  local waited=0
  until grep -q "^$2" "$1" 2>/dev/null; do
    sleep 0.05
    waited=$((waited + 1))
    if [ $waited -gt 600 ]; then
      echo "watch_bench: waited 30 s for \"$2\" in $1: $(cat "$1")" >&2
      return 1
    fi
  done
}

# utime + stime of a process, in clock ticks.
cpu_ticks() {
  awk '{print $14 + $15}' "/proc/$1/stat"
}

resident_kib() {
  awk '/^VmRSS:/ {print $2}' "/proc/$1/status"
}

# This prefix's wineserver: it works in a folder named after the prefix's device and inode.
wineserver_pid() {
  local server pid
  server="$(printf 'server-%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))"
  for pid in $(pgrep wineserver); do
    if [ "$(basename "$(readlink "/proc/$pid/cwd")")" = "$server" ]; then
      echo "$pid"
    fi
  done
}

# The CPU (% of one core) of the processes "server wineserver Xvfb" over $1 seconds, while the
# command after it runs (or while nothing runs when there is none).
cpu_during() {
  local seconds="$1" pid
  shift
  local before=() after=()
  for pid in $server_pid $wineserver $xvfb; do before+=("$(cpu_ticks "$pid")"); done
  local start end
  start=$(date +%s.%N)
  if [ $# -gt 0 ]; then "$@"; else sleep "$seconds"; fi
  end=$(date +%s.%N)
  for pid in $server_pid $wineserver $xvfb; do after+=("$(cpu_ticks "$pid")"); done
  local i out=()
  for i in 0 1 2; do
    out+=("$(awk -v b="${before[$i]}" -v a="${after[$i]}" -v s="$start" -v e="$end" -v t="$ticks" \
      'BEGIN {printf "%.1f", (a - b) / t / (e - s) * 100}')")
  done
  echo "${out[*]}"
}

start_server() { # $1: screen or x11vnc; sets server_pid and server_port
  local log="$work/$1.log"
  : >"$log"
  if [ "$1" = screen ]; then
    "$wine" "$win_build/bin/cluma-screen.exe" --port "$screen_port" >"$log" 2>&1 &
    server_pid=$!
    server_port=$screen_port
    wait_for_line "$log" "cluma-screen: serving the screen as "
  else
    x11vnc -display "$DISPLAY" -rfbport "$x11vnc_port" -passwd "$password" -allow 127.0.0.1 \
      -forever -shared -localhost >"$log" 2>&1 &
    server_pid=$!
    server_port=$x11vnc_port
    wait_for_line "$log" "PORT=$x11vnc_port"
  fi
  started+=("$server_pid")
  sleep 2 # past the start's own work
}

watch() { # watch_client's arguments after the password; its output goes to $work/watch.txt
  "$watch_client" 127.0.0.1 "$server_port" "$password" "$@" >"$work/watch.txt"
}

# Our server trusts the console the agent remembers: the watching client's own address.
state_folder="$WINEPREFIX/drive_c/ProgramData/ClumaDeck"
mkdir -p "$state_folder"
printf 'console 127.0.0.1\nlocal 127.0.0.1\n' >"$state_folder/agent-state.txt"

wineserver=$(wineserver_pid)
xvfb="${CLUMA_XVFB_PID:?the Xvfb process of the display}"
[ -n "$wineserver" ] && [ -n "$xvfb" ] || { echo "watch_bench: no wineserver or Xvfb" >&2; exit 1; }

mkfifo "$work/backdrop-in"
"$wine" "$repaint" backdrop <"$work/backdrop-in" >"$work/backdrop.txt" 2>&1 &
started+=($!)
exec 7>"$work/backdrop-in" # each line to it switches the colour of the backdrop's last bar
wait_for_line "$work/backdrop.txt" "area "
bar_colours=(E6B428 8C28C8)
bar=0

# Switches the bar's colour while nobody watches, so that a server's picture from before is
# told apart from the screen as it is now; waits until the X screen shows it.
switch_bar() {
  bar=$((1 - bar))
  echo >&7
  local waited=0
  until import -window root -crop 1x1+1250+400 -depth 8 txt:- 2>/dev/null | grep -qi "#${bar_colours[$bar]}"; do
    sleep 0.05
    waited=$((waited + 1))
    [ $waited -lt 200 ] || { echo "watch_bench: the backdrop did not switch colour" >&2; return 1; }
  done
}

echo "server run | idle: CPU % (server wineserver Xvfb), VmRSS KiB | one client idle: first" \
  "frame ms bytes, CPU % (server wineserver Xvfb) | changing 300x300: updates/s of it, bytes/s," \
  "CPU % (server wineserver Xvfb)"
for run in $(seq "$runs"); do
  for server in screen x11vnc; do
    start_server "$server"
    idle=$(cpu_during "$idle_seconds")
    rss=$(resident_kib "$server_pid")

    switch_bar
    rm -f "$work/watch.txt"
    # The first whole frame is the first that shows the backdrop's bar in its new colour.
    watch $((idle_seconds + 5)) --shows 1250 400 "${bar_colours[$bar]}" &
    watcher=$!
    until [ -s "$work/watch.txt" ] || ! kill -0 "$watcher" 2>/dev/null; do sleep 0.02; done
    first=$(sed -n 's/^first whole frame: \([0-9.]*\) ms after connecting, \([0-9]*\) bytes.*/\1 \2/p' \
      "$work/watch.txt")
    watched_idle=$(cpu_during "$idle_seconds")
    wait "$watcher"

    "$wine" "$repaint" changing 490 250 300 >"$work/changing.txt" 2>&1 &
    painter=$!
    wait_for_line "$work/changing.txt" "area "
    read -r _ x y w h <"$work/changing.txt"
    sleep 1
    # The client's first frame comes before the measured 10 s; the CPU covers the client's whole run.
    changing_cpu=$(cpu_during "$changing_seconds" watch "$changing_seconds" "$x" "$y" "$w" "$h")
    changing=$(sed -n 's/.*touching the area (\([0-9.]*\) \/s), \([0-9]*\) bytes/\1 \2/p' \
      "$work/watch.txt")
    kill "$painter"
    wait "$painter" 2>/dev/null || true

    read -r rate bytes <<<"$changing"
    echo "$server $run | $idle, $rss | $first, $watched_idle |" \
      "$rate, $(awk -v b="$bytes" -v s="$changing_seconds" 'BEGIN {printf "%.0f", b / s}'), $changing_cpu"
    kill "$server_pid"
    wait "$server_pid" 2>/dev/null || true
    started=("${started[@]/$server_pid/}")
    sleep 1
  done
done
rm -f "$state_folder/agent-state.txt"

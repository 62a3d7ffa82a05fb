#!/usr/bin/env bash
# Idle figures of the program connected to the virtual keyboard, under the offscreen Qt
# platform: the time from starting the process to the pages (tabs) being shown, and the CPU
# the idle program uses over a while (utime + stime from /proc/<pid>/stat).
#
#   [TV_IDLE_TAB=4] tools/measure-idle.sh [build folder] [seconds]
#
# Without a build folder, an optimised build (no sanitizers, no tests) is made in build-idle/.
# Goal: under 2 % of one core while idle.
set -euo pipefail
cd "$(dirname "$0")/.."
# A desktop of 1920 x 1080: on Qt's own offscreen screen (800 x 600) the program would cut its
# window to the screen.
offscreen="offscreen:configfile=$PWD/tests/support/offscreen-desktop.json"

build=${1:-}
seconds=${2:-30}
if [ -z "$build" ]; then
  build=build-idle
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTV_TESTS=OFF -DTV_SANITIZE=OFF >/dev/null
  cmake --build "$build" --target Tolvenic virtual-keyboard tv_data -j"$(nproc)" >/dev/null
fi
program=$build/bin/Tolvenic
keyboard=$build/bin/virtual-keyboard
[ -x "$program" ] && [ -x "$keyboard" ] || { echo "no program in $build/bin" >&2; exit 1; }

work=$(mktemp -d /tmp/tvidle.XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/kb" "$work/runtime" && chmod 700 "$work/runtime"
"$keyboard" --dir "$work/kb" >"$work/kb.out" 2>&1 &
pids+=($!)
for ((t = 0; t < 500; t++)); do
  grep -q '^ready' "$work/kb.out" && break
  sleep 0.01
done
grep -q '^ready' "$work/kb.out" || { echo "the virtual keyboard did not start" >&2; exit 1; }

start=$(date +%s%3N)
HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/runtime" \
  QT_QPA_PLATFORM="$offscreen" TV_STARTUP_REPORT=1 TOLVENIC_VIRTUAL_KEYBOARD_DIR="$work/kb" \
  env ${TV_IDLE_TAB:+TV_TEST_ENTRY=1} "$program" >"$work/out" 2>/dev/null &
pid=$!
pids+=("$pid")
tabs=""
for ((t = 0; t < 3000; t++)); do   # up to 30 s
  tabs=$(awk '$1 == "tabs" { print $2; exit }' "$work/out")
  [ -n "$tabs" ] && break
  sleep 0.01
done
[ -n "$tabs" ] || { echo "the pages were never shown" >&2; cat "$work/out" >&2; exit 1; }
echo "start to tabs shown: $((tabs - start)) ms"

# With TV_IDLE_TAB set, that tab (4: the lighting page, whose live-colour preview then runs)
# is clicked through the program's scripted-input entry first.
if [ -n "${TV_IDLE_TAB:-}" ]; then
  python3 - "$work/runtime/Tolvenic.sock" "click main 55 $TV_IDLE_TAB" <<'PY'
import socket, sys
s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
s.connect(sys.argv[1])
s.sendall((sys.argv[2] + "\n").encode())
s.close()
PY
fi

ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
sleep 2
before=$(ticks)
sleep "$seconds"
after=$(ticks)
hz=$(getconf CLK_TCK)
awk -v d=$((after - before)) -v hz="$hz" -v s="$seconds" \
  'BEGIN { printf "idle CPU over %d s: %.2f %% of one core\n", s, 100 * d / hz / s }'

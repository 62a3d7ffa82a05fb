#!/usr/bin/env bash
# Start-up figures of the program under the offscreen Qt platform: the time from starting the
# process to its first window being shown, and the resident memory once it is shown.
#
#   tools/measure-startup.sh [program] [runs]
#
# Without a program, an optimised build (no sanitizers, no tests) is made in build-measure/.
# Each run has fresh per-user folders, so it is a first start (registry key and data folder
# created). Goals: under 300 ms and under 60 MB.
set -euo pipefail
cd "$(dirname "$0")/.."
# A desktop of 1920 x 1080: on Qt's own offscreen screen (800 x 600) the program would cut its
# window to the screen.
offscreen="offscreen:configfile=$PWD/tests/support/offscreen-desktop.json"

program=${1:-}
runs=${2:-5}
if [ -z "$program" ]; then
  cmake -S . -B build-measure -DCMAKE_BUILD_TYPE=Release -DTV_TESTS=OFF -DTV_SANITIZE=OFF >/dev/null
  cmake --build build-measure --target Tolvenic -j"$(nproc)" >/dev/null
  program=build-measure/bin/Tolvenic
fi
[ -x "$program" ] || { echo "no program at $program" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

times=()
rss=()
for ((i = 1; i <= runs; i++)); do
  home="$work/run$i"
  mkdir -p "$home/runtime" && chmod 700 "$home/runtime"
  out="$home/out"
  : >"$out"
  start=$(date +%s%3N)
  HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
    XDG_CACHE_HOME="$home/cache" XDG_RUNTIME_DIR="$home/runtime" \
    QT_QPA_PLATFORM="$offscreen" TV_STARTUP_REPORT=1 "$program" >"$out" 2>/dev/null &
  pid=$!
  shown=""
  for ((t = 0; t < 1000; t++)); do   # up to 10 s
    shown=$(awk '$1 == "shown" { print $2; exit }' "$out")
    [ -n "$shown" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.01
  done
  if [ -z "$shown" ]; then
    echo "run $i: no window shown" >&2
    kill "$pid" 2>/dev/null || true
    exit 1
  fi
  sleep 0.2   # let the first paint settle before reading memory
  kb=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  times+=($((shown - start)))
  rss+=($((kb / 1024)))
  echo "run $i: window shown after $((shown - start)) ms, resident $((kb / 1024)) MB"
done

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
echo "median: $(median "${times[@]}") ms to the first window, $(median "${rss[@]}") MB resident"

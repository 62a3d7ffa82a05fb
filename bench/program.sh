#!/usr/bin/env bash
# Whole-program figures of an optimised build, each beside its reference, a minimal Qt window
# (bench/bare_window.cpp), measured in the same run under the offscreen Qt platform against the
# virtual keyboard:
#   - start to the pages (tabs) shown, against the bare window's start to its first show;
#   - resident memory after every page has been shown once, against the bare window's;
#   - CPU and wake-ups (the threads' context switches) over SECONDS with the window shown on
#     the key page (which polls the keyboard), minimised and hidden to the tray.
#
#   bench/program.sh [build folder (build-bench)] [seconds (30)] [start runs (5)]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-bench}
seconds=${2:-30}
runs=${3:-5}
program=$build/bin/Tolvenic
keyboard=$build/bin/virtual-keyboard
bare=$build/bench/bare-window
for f in "$program" "$keyboard" "$bare"; do
  [ -x "$f" ] || { echo "missing $f (scripts/bench builds it)" >&2; exit 1; }
done

work=$(mktemp -d /tmp/tvbench.XXXXXX)
pids=()   # every process started, ended on the way out
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
now() { date +%s%3N; }

# Waits up to 20 s for "WORD <ms>" in FILE and prints the milliseconds.
milestone() {
  local word=$1 file=$2 t value
  for ((t = 0; t < 2000; t++)); do
    value=$(awk -v w="$word" '$1 == w { print $2; exit }' "$file" 2>/dev/null)
    [ -n "$value" ] && { echo "$value"; return 0; }
    sleep 0.01
  done
  return 1
}

# A fresh per-user home with its own virtual keyboard; sets $home.
fresh_home() {
  home="$work/run$1"
  mkdir -p "$home/kb" "$home/runtime" "$home/config/Tolvenic" && chmod 700 "$home/runtime"
  # Closing hides the window to the tray.
  printf 'exit_mode=1\n' >"$home/config/Tolvenic/registry.ini"
  : >"$home/kb.out"
  "$keyboard" --dir "$home/kb" >"$home/kb.out" 2>&1 &
  pids+=($!)
  local t
  for ((t = 0; t < 500; t++)); do
    grep -q '^ready' "$home/kb.out" && return 0
    sleep 0.01
  done
  echo "the virtual keyboard did not start" >&2
  exit 1
}

# Runs the command in this process's place (so that $! names the program itself).
run_env() {
  exec env HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
    XDG_CACHE_HOME="$home/cache" XDG_RUNTIME_DIR="$home/runtime" QT_QPA_PLATFORM=offscreen \
    TV_STARTUP_REPORT=1 TV_TEST_ENTRY=1 TOLVENIC_TEST_SYSTEM_TRAY=1 \
    TOLVENIC_VIRTUAL_KEYBOARD_DIR="$home/kb" "$@"
}

# Sends one line to the program's instance socket, trying again for up to 2 s while the program
# is not yet listening.
tell() {
  python3 -c '
import socket, sys, time
for attempt in range(100):
    try:
        s = socket.socket(socket.AF_UNIX)
        s.connect(sys.argv[1])
        break
    except (FileNotFoundError, ConnectionRefusedError):
        s.close()
        if attempt == 99:
            raise
        time.sleep(0.02)
s.sendall((sys.argv[2] + "\n").encode())' "$home/runtime/Tolvenic.sock" "$1"
}

rss_mb() { awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }
# CPU ticks of the process and the context switches of all its threads.
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
# "tid switches" of every thread of the process.
switches() {
  for task in /proc/"$1"/task/*; do
    awk -v t="${task##*/}" '/ctxt_switches/ { n += $2 } END { print t, n }' "$task/status" 2>/dev/null
  done
}
hz=$(getconf CLK_TCK)

# Prints "CPU% wakeups/s" of PID over $seconds: the context switches of the threads that
# lived through the whole while (a thread that ended takes its count along).
idle_figures() {
  local pid=$1 t0 t1
  t0=$(ticks "$pid"); switches "$pid" >"$work/s0"
  sleep "$seconds"
  t1=$(ticks "$pid"); switches "$pid" >"$work/s1"
  awk -v d=$((t1 - t0)) -v hz="$hz" -v sec="$seconds" '
    NR == FNR { before[$1] = $2; next }
    ($1 in before) { s += $2 - before[$1] }
    END { printf "%.2f %.1f", 100 * d / hz / sec, s / sec }' "$work/s0" "$work/s1"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2fx", a / b; else printf "n/a" }'; }
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

start_prog=(); start_bare=(); rss_prog=(); rss_bare=()
for ((i = 1; i <= runs; i++)); do
  fresh_home "$i"
  : >"$home/out"
  begin=$(now)
  (run_env "$program" >"$home/out" 2>/dev/null) &
  pid=$!
  pids+=("$pid")
  tabs=$(milestone tabs "$home/out") || { echo "run $i: the pages were never shown" >&2; exit 1; }
  shown=$(milestone shown "$home/out")
  start_prog+=($((tabs - begin)))
  for page in 1 7 2 3 4 6; do
    tell "click main 55 $page"
    sleep 0.4
  done
  rss_prog+=("$(rss_mb "$pid")")
  echo "run $i: program window after $((shown - begin)) ms, tabs after $((tabs - begin)) ms," \
    "${rss_prog[-1]} MB after every page"
  if ((i < runs)); then kill "$pid"; wait "$pid" 2>/dev/null || true; fi

  : >"$home/bare.out"
  begin=$(now)
  (run_env "$bare" >"$home/bare.out" 2>/dev/null) &
  bare_pid=$!
  pids+=("$bare_pid")
  bshown=$(milestone shown "$home/bare.out") || { echo "the bare window never showed" >&2; exit 1; }
  start_bare+=($((bshown - begin)))
  sleep 0.4
  rss_bare+=("$(rss_mb "$bare_pid")")
  if ((i < runs)); then kill "$bare_pid"; wait "$bare_pid" 2>/dev/null || true; fi
done

sp=$(median "${start_prog[@]}"); sb=$(median "${start_bare[@]}")
rp=$(median "${rss_prog[@]}"); rb=$(median "${rss_bare[@]}")
echo "start to tabs: ${sp} ms, bare window start to shown: ${sb} ms ($(ratio "$sp" "$sb"));" \
  "tabs $((sp - sb)) ms after the bare window's first show"
echo "resident after every page: ${rp} MB, bare window: ${rb} MB ($(ratio "$rp" "$rb"))"

# Idle, with the last run's program and bare window still running.
tell "click main 55 1"
sleep 2
read -r bcpu bwake <<<"$(idle_figures "$bare_pid")"
echo "idle bare window: ${bcpu} % of one core, ${bwake} wake-ups/s"
read -r cpu wake <<<"$(idle_figures "$pid")"
echo "idle shown (key page): ${cpu} % of one core, ${wake} wake-ups/s (vs bare: $(ratio "$cpu" "$bcpu"), $(ratio "$wake" "$bwake"))"
tell "click main 37"
sleep 2
read -r cpu wake <<<"$(idle_figures "$pid")"
echo "idle minimised: ${cpu} % of one core, ${wake} wake-ups/s (vs bare: $(ratio "$cpu" "$bcpu"), $(ratio "$wake" "$bwake"))"
tell "show"
sleep 1
tell "click main 35"
sleep 2
read -r cpu wake <<<"$(idle_figures "$pid")"
echo "idle hidden to the tray: ${cpu} % of one core, ${wake} wake-ups/s (vs bare: $(ratio "$cpu" "$bcpu"), $(ratio "$wake" "$bwake"))"

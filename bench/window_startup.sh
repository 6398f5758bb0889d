#!/usr/bin/env bash
# How long the window takes to appear, from the start of the program to its main window
# being mapped on a virtual display: bench/window_startup.sh HOME [RUNS]
# HOME is a program folder (a large library made with `tavricat-cli --home HOME tm update`).
# The window is killed once it is there, so nothing is saved and HOME stays as it was.
set -euo pipefail
home=${1:?usage: bench/window_startup.sh HOME [RUNS]}
runs=${2:-5}
here=$(cd "$(dirname "$0")/.." && pwd)
program=${TAVRICAT_GUI:-$here/build/gui/tavricat}
command -v Xvfb >/dev/null && command -v xwininfo >/dev/null || { echo "needs Xvfb and xwininfo (x11-utils)" >&2; exit 1; }

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY=$display
for ((run = 1; run <= runs; ++run)); do
    start=$(date +%s%N)
    "$program" --home "$home" >/dev/null 2>&1 &
    pid=$!
    until xwininfo -root -tree 2>/dev/null | grep -q '"TavriCAT [0-9]'; do
        kill -0 "$pid" 2>/dev/null || { echo "the window ended before it appeared" >&2; exit 1; }
        sleep 0.01
    done
    end=$(date +%s%N)
    kill -9 "$pid"
    wait "$pid" 2>/dev/null || true
    echo "run $run: window after $(( (end - start) / 1000000 )) ms"
    sleep 0.5
done

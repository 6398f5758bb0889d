#!/usr/bin/env bash
# Pictures of the window and its dialogs under Xvfb, to check that every caption is legible:
#   tools/screenshots.sh OUTDIR
# Builds nothing: the workbench must have been built (build/gui/tavricat, or the program
# named by $TAVRICAT_GUI). It runs on a new temporary program folder, filled from the
# delivered data, and with a temporary settings folder, so the person's own are untouched.
# Needs xvfb-run (packages xvfb and xauth; scripts/setup.sh installs them).
set -euo pipefail
if [ $# -ne 1 ]; then
  echo "usage: $0 OUTDIR" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
gui=${TAVRICAT_GUI:-$root/build/gui/tavricat}
if [ ! -x "$gui" ]; then
  echo "$gui is missing: build the workbench first (scripts/build.sh)." >&2
  exit 1
fi
if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "xvfb-run is missing: run scripts/setup.sh (packages xvfb and xauth)." >&2
  exit 1
fi
mkdir -p "$1"
out=$(cd "$1" && pwd)
home=$(mktemp -d /tmp/tavricat-shot-home.XXXXXX)
config=$(mktemp -d /tmp/tavricat-shot-config.XXXXXX)
trap 'rm -rf "$home" "$config"' EXIT
# Only xcb is started under Xvfb, whatever the caller's session uses.
XDG_CONFIG_HOME="$config" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x900x24" "$gui" --home "$home" --screenshots "$out"

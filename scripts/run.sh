#!/usr/bin/env bash
# Sets up, builds, and starts the workbench. With a display the window opens on the program
# folder given as the first argument (default: the usual one, ~/.local/share/tavricat, filled
# from the delivered data on a first start). Without a display a short command-line demo runs
# on a new temporary program folder: the demo library translates the demo document.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cli="$root/build/cli/tavricat-cli"
gui="$root/build/gui/tavricat"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$gui" ]; then
  if [ $# -gt 0 ]; then exec "$gui" --home "$1"; else exec "$gui"; fi
fi

echo "No display: running the command-line demo instead." >&2
home=${1:-$(mktemp -d /tmp/tavricat-home.XXXXXX)}
# The demo keeps its settings to itself, not in the person's own settings file.
export XDG_CONFIG_HOME=$(mktemp -d /tmp/tavricat-config.XXXXXX)
"$cli" --home "$home" init
"$cli" --home "$home" check
"$cli" --home "$home" tm use DemoEC
work=$(mktemp -d /tmp/tavricat-demo.XXXXXX)
cp "$home/demo/sample_en.txt" "$work/"
"$cli" --home "$home" translate "$work/sample_en.txt" --rate 70
"$cli" --home "$home" tm search "Clean the filter twice a month."
echo "The bilingual document: $work/sample_en.bil" >&2

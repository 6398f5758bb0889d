#!/usr/bin/env bash
# Sets up, builds, and starts the workbench on a program folder
# (default: a new temporary one; pass a folder to use your own).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
home=${1:-$(mktemp -d /tmp/tavricat-home.XXXXXX)}
cli="$root/build/cli/tavricat-cli"
"$cli" --home "$home" init
"$cli" --home "$home" check

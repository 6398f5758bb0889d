#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the workbench need, when missing.
# Safe to run again: packages already present are left alone.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-translations-l10n fonts-noto-cjk xvfb xauth
  libsqlite3-dev libpq-dev postgresql
  libzip-dev libpugixml-dev libsodium-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev
  # Only the tests need it: documents made, read and saved again by a real word processor.
  libreoffice-writer
  # The fuzz build (fuzz/): Clang's libFuzzer and sanitizers.
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq || true
  apt-get install -y --no-install-recommends "${missing[@]}"
elif command -v sudo >/dev/null 2>&1; then
  sudo apt-get update -qq || true
  sudo DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
else
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run as root: apt-get install -y --no-install-recommends ${missing[*]}" >&2
  exit 1
fi

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
  # The workbench opens and saves .docx, .odt and .doc through LibreOffice Writer, run
  # headless; the tests make, read and save documents with it too.
  libreoffice-writer
  # The link to a document open in Writer: a small Python helper speaks UNO to Writer and
  # runs its per-request work as a Python script inside Writer.
  python3-uno libreoffice-script-provider-python
  # Only the document round trip needs them: pdfinfo, pdftotext and pdftoppm read its PDFs.
  poppler-utils
  # Only the data builders in tools/ need them: word frequencies and sense counts.
  python3-jieba wordnet-base wordnet-sense-index
  # Only the exchange tests need them: another tool's TMX and XLIFF (translate-toolkit), and
  # xmllint to check what we write.
  translate-toolkit libxml2-utils
  # Only bench/window_startup.sh needs it: xwininfo sees when the window is mapped.
  x11-utils
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

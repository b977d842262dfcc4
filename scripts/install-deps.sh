#!/usr/bin/env bash
# Installs the Debian packages Velmora needs to build, run and test. Skips apt when all are present.
set -euo pipefail

packages=(
  g++ cmake ninja-build qt6-base-dev libqt6sql6-sqlite fonts-liberation2
  cups printer-driver-cups-pdf poppler-utils xvfb xauth imagemagick
  libsqlite3-dev clang libclang-rt-14-dev libbenchmark-dev pkg-config mdbtools-dev libglib2.0-dev
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y -o DPkg::Lock::Timeout=300 --no-install-recommends "${missing[@]}"

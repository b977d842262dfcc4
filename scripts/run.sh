#!/usr/bin/env bash
# Installs what is missing, builds in Release and starts Velmora on the user's data folder, the same
# one the applications menu opens (or on the folder VELMORA_DATA names), and says which.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"

bash "$repo/scripts/install-deps.sh" --run --build
cmake -S "$repo" -B "$repo/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF
cmake --build "$repo/build-release" --target velmora

data="${VELMORA_DATA:-${XDG_DATA_HOME:-$HOME/.local/share}/Velmora}"
mkdir -p "$data" && chmod 700 "$data" # the books are the user's alone
echo "Velmora keeps its files in: $data"
program=("$repo/build-release/src/velmora" --data-folder "$data" "$@")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting on a virtual screen (xvfb-run)."
  exec xvfb-run -a -s "-screen 0 1366x768x24" "${program[@]}"
fi
exec "${program[@]}"

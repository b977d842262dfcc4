#!/usr/bin/env bash
# Installs what is missing, builds in Release and starts Velmora in its data folder, where it keeps
# its twelve database files.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"

bash "$repo/scripts/install-deps.sh"
cmake -S "$repo" -B "$repo/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF
cmake --build "$repo/build-release" --target velmora

data="${VELMORA_DATA:-$HOME/Velmora}"
mkdir -p "$data"
cd "$data"
echo "Velmora keeps its files in: $data"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting on a virtual screen (xvfb-run)."
  exec xvfb-run -a -s "-screen 0 1366x768x24" "$repo/build-release/src/velmora"
fi
exec "$repo/build-release/src/velmora"

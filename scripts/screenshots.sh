#!/usr/bin/env bash
# Makes the README's pictures of every window in English and in Brazilian Portuguese, from a sample
# clinic with Brazilian names, phones and health plans: the program's windows, opened offscreen and
# driven through their own controls and keys by tools/screenshots.cpp, write them into docs/.
#   screenshots.sh [BUILD_DIR]   (default build-test, configured with the tests)
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$repo/${1:-build-test}"
cmake --build "$build" --target velmora-screenshots
mkdir -p "$repo/docs"
"$build/tools/velmora-screenshots" "$repo/docs"
echo "pictures written to $repo/docs"

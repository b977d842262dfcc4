#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test with ctest. The print
# tests run against a real CUPS queue with a PDF back end, started here and stopped afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build=build-test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_WERROR=ON
cmake --build "$build"

source scripts/print-queue.sh
start_print_queue
trap stop_print_queue EXIT

ctest --test-dir "$build" --output-on-failure -j 2

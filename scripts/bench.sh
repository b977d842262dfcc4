#!/usr/bin/env bash
# Builds in Release and runs the benchmarks, which print each figure and its ratio to what it is
# judged against, measured side by side in the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCH=ON
cmake --build build-bench
exec build-bench/bench/velmora_bench "$@"

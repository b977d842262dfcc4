#!/usr/bin/env bash
# Builds in Release and runs the benchmarks, which print each figure and its ratio to what it is
# judged against, measured side by side in the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCH=ON
cmake --build build-bench
# Each figure the median of three runs, with its spread; a benchmark that fails says so and the rest
# go on, and the summary is printed whatever happens.
build-bench/bench/velmora_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true "$@" || true
# The server's figures, on a server of their own with its disk syncs as a clinic's server has them.
source scripts/test-server.sh
trap stop_test_server EXIT
VELMORA_TEST_SERVER_PLAIN=1 start_test_server
psql "$VELMORA_TEST_SERVER" -q -c 'CREATE DATABASE bench'
VELMORA_BENCH_SERVER="${VELMORA_TEST_SERVER%/postgres}/bench" build-bench/bench/server_bench

#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test with ctest, three
# times over: the plain build, the same tests built with AddressSanitizer and
# UndefinedBehaviorSanitizer, and the libFuzzer targets of the pure procedures (clang). The print
# tests run against a real CUPS queue with a PDF back end, and the server tests against a real
# PostgreSQL server, both started here and stopped afterwards.
#
#   test.sh --quick   the inner loop: builds the plain build once and runs the tests that need no root,
#                     no apt, no printer and no server (ctest label "unit", without the "slow" ones),
#                     on what the machine already has
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--quick" ]; then
  cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_WERROR=ON >/dev/null
  cmake --build build-test -j 2
  exec ctest --test-dir build-test --output-on-failure -j 2 -L unit -LE slow
fi

bash scripts/install-deps.sh

jobs=2
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_WERROR=ON
cmake --build build-test -j "$jobs"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMORA_WERROR=ON -DVELMORA_SANITIZE=ON
cmake --build build-sanitize -j "$jobs"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DVELMORA_WERROR=ON -DVELMORA_FUZZ=ON
cmake --build build-fuzz -j "$jobs" --target \
  fuzz_period_rule fuzz_capitalize_name fuzz_weekly_times fuzz_row_reading fuzz_date_steps

source scripts/print-queue.sh
source scripts/test-server.sh
trap 'stop_print_queue; stop_test_server' EXIT
start_print_queue
start_test_server -c fsync=off # what the tests check does not depend on the disk

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
echo "== tests"
ctest --test-dir build-test --output-on-failure -j "$jobs"
echo "== the README's server steps, as written"
bash scripts/server-steps.sh build-test/src/velmora ../shared/fixtures/legacy-jet
echo "== tests with AddressSanitizer and UndefinedBehaviorSanitizer"
ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
echo "== fuzzing"
ctest --test-dir build-fuzz --output-on-failure -j "$jobs"

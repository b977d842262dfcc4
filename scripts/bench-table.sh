#!/usr/bin/env bash
# Writes the table of docs/DEVELOPING.md's "Performance" from a benchmark run's output, never by hand:
#   bash scripts/bench.sh | tee bench.log; bash scripts/bench-table.sh bench.log
set -euo pipefail
cd "$(dirname "$0")/.."
log=${1:?usage: bench-table.sh BENCH_OUTPUT}
table=$(sed -n '/^Table for docs\/DEVELOPING.md:$/,/^$/p' "$log" | grep '^|' || true)
[ -n "$table" ] || { echo "no table in $log: was it a whole run of the benchmarks?" >&2; exit 1; }
stamp="From a run of $(date -u +%Y-%m-%d) on $(nproc) cores ($(uname -m)), written by scripts/bench-table.sh."
awk -v table="$table" -v stamp="$stamp" '
  /<!-- bench-table:start -->/ { print; print stamp; print ""; print table; skip = 1; next }
  /<!-- bench-table:end -->/ { skip = 0 }
  !skip { print }
' docs/DEVELOPING.md > docs/DEVELOPING.md.new
grep -q '<!-- bench-table:start -->' docs/DEVELOPING.md || { rm docs/DEVELOPING.md.new; echo "no table markers in docs/DEVELOPING.md" >&2; exit 1; }
mv docs/DEVELOPING.md.new docs/DEVELOPING.md

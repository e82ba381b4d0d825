#!/usr/bin/env bash
# Runs every benchmark executable (bench_*) of a release build, in name order.
set -euo pipefail
build=${1:-build/release}
found=0
while IFS= read -r exe; do
  found=1
  echo "== ${exe#"$build"/}"
  "$exe"
done < <(find "$build/bench" -type f -name 'bench_*' -perm -u+x 2>/dev/null | sort)
[[ $found -eq 1 ]] || echo "run-benchmarks: no benchmarks built under $build/bench"

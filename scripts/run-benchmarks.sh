#!/usr/bin/env bash
# Runs every benchmark executable (bench_*) of a release build, in name order.
# A benchmark that fails (one that exits non-zero, as those do that check a
# goal and miss it) does not stop the others: every benchmark runs, and the
# failed ones are listed at the end, with exit code 1.
set -uo pipefail
build=${1:-build/release}
found=0
failed=()
while IFS= read -r exe; do
  found=1
  name=${exe#"$build"/}
  echo "== $name"
  "$exe"
  status=$?
  if [[ $status -ne 0 ]]; then
    echo "== $name exited with $status"
    failed+=("$name (exit $status)")
  fi
done < <(find "$build/bench" -type f -name 'bench_*' -perm -u+x 2>/dev/null | sort)
if [[ $found -eq 0 ]]; then
  echo "run-benchmarks: no benchmarks built under $build/bench"
  exit 1
fi
if [[ ${#failed[@]} -gt 0 ]]; then
  echo "run-benchmarks: ${#failed[@]} benchmark(s) failed or missed a goal:"
  printf '  %s\n' "${failed[@]}"
  exit 1
fi
echo "run-benchmarks: every benchmark ran to its end"

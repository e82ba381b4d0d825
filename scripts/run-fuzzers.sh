#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a number of seconds each, starting from
# its committed seed corpus. Fails when any target finds a crash, a leak or a timeout.
set -uo pipefail
build=${1:-build/fuzz}
seconds=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
work="$build/fuzz-work"
status=0
found=0
while IFS= read -r exe; do
  found=1
  name=$(basename "$exe"); name=${name#fuzz_}
  seeds="$root/fuzz/corpus/$name"
  mkdir -p "$work/$name/corpus" "$work/$name/artifacts"
  echo "== fuzz_$name for ${seconds}s"
  "$exe" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=4096 \
      -artifact_prefix="$work/$name/artifacts/" "$work/$name/corpus" "$seeds" \
      >"$work/$name/log" 2>&1
  rc=$?
  execs=$(grep -E '^stat::number_of_executed_units' "$work/$name/log" | awk '{print $2}')
  if [[ $rc -ne 0 ]]; then
    status=1
    echo "   FINDING (exit $rc) after ${execs:-?} executions; log: $work/$name/log"
    grep -E 'ERROR|SUMMARY|Test unit written' "$work/$name/log" | head -n 5 | sed 's/^/   /'
  else
    echo "   no finding: ${execs:-?} executions"
  fi
done < <(find "$build/fuzz" -maxdepth 3 -type f -name 'fuzz_*' -perm -u+x 2>/dev/null | sort)
[[ $found -eq 1 ]] || { echo "run-fuzzers: no fuzz targets built under $build/fuzz"; exit 1; }
exit $status

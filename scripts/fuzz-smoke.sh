#!/usr/bin/env bash
# Runs every fuzz_<name> of a fuzzing build for a while, starting from the
# seed corpus that seed_<name> writes with our own writers. The corpus stays
# in <build-dir>/fuzz-corpus/<name> between runs, so a long run goes on from
# what the last one found; logs and crash inputs go to <build-dir>/fuzz-smoke.
#
# Usage: scripts/fuzz-smoke.sh <build-dir> [seconds per target]
set -euo pipefail

build=$(cd "${1:?usage: scripts/fuzz-smoke.sh <build-dir> [seconds]}" && pwd)
seconds=${2:-20}
work="$build/fuzz-smoke"
rm -rf "$work"
mkdir -p "$work"

mapfile -t fuzzers < <(find "$build" -type f -name 'fuzz_*' -perm -u+x | sort)
if [ ${#fuzzers[@]} -eq 0 ]; then
  echo "no fuzz targets in $build" >&2
  exit 1
fi

passed=0
failed=0
for fuzzer in "${fuzzers[@]}"; do
  name=$(basename "$fuzzer")
  corpus="$build/fuzz-corpus/$name"
  mkdir -p "$corpus" "$work/$name"
  seed="$(dirname "$fuzzer")/seed_${name#fuzz_}"
  [ -x "$seed" ] && "$seed" "$corpus"
  echo "== $name: $(find "$corpus" -type f | wc -l) seeds, ${seconds}s"
  if "$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -artifact_prefix="$work/$name/" \
       -print_final_stats=1 "$corpus" > "$work/$name/log" 2>&1; then
    passed=$((passed + 1))
    grep -E '^stat::number_of_executed_units' "$work/$name/log" || true
    grep -E '^#[0-9]+.*(DONE|cov:)' "$work/$name/log" | tail -n 1 || true
  else
    failed=$((failed + 1))
    echo "FAILED: $name (log and crash input in $work/$name/)"
    tail -n 40 "$work/$name/log"
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]

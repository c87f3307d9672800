#!/usr/bin/env bash
# Builds the fuzz preset and runs every fuzzer for SECONDS seconds (default
# 60) each. Inputs kept in fuzz/regressions/NAME/ are replayed first; any
# crash, leak or sanitizer report fails the script.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
status=0
for fuzzer in build/fuzz/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=${fuzzer##*/fuzz_}
  work=$(mktemp -d)
  seeds="fuzz/regressions/$name"
  args=("$work")
  [ -d "$seeds" ] && args+=("$seeds")
  echo "== fuzz_$name for ${seconds}s"
  if ! "$fuzzer" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 \
       -artifact_prefix="$work/" "${args[@]}" >"$work/log" 2>&1; then
    tail -40 "$work/log"
    echo "fuzz_$name found a failure; inputs are in $work"
    status=1
    continue
  fi
  grep -E '^(Done|#[0-9]+ +DONE)' "$work/log" | tail -1 || true
  rm -rf "$work"
done
exit $status

#!/usr/bin/env bash
# The main job: installs what is missing, builds the optimised preset, then
#  1. runs every file of the corpus (default ../shared/corpus, or
#     $ZORP_CORPUS) through `zorp compress` and `zorp expand` with each
#     method, checking that the expanded file equals the original,
#  2. builds an archive of the corpus with `zorp add`, lists it, tests it
#     and extracts it again, comparing the tree with the corpus,
#  3. runs the benchmark harness: each method memory to memory on every file
#     and on a ~30 MB concatenation, beside zlib and a memcpy ceiling, and
#  4. times the whole `zorp` tool against gzip, tar and lhasa with hyperfine
#     (bench/compare.sh).
# Extra arguments go to the benchmark harness.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target zorp zorp_bench zorp_lha_wrap
corpus=${ZORP_CORPUS:-$root/../shared/corpus}
zorp=build/release/tools/zorp/zorp
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== zorp compress / expand over $corpus"
printf '%-18s %10s' file bytes
for m in none rle lzh lh5; do printf ' %9s' "$m"; done
printf '\n'
for file in "$corpus"/*; do
  [ -f "$file" ] || continue
  printf '%-18s %10d' "$(basename "$file")" "$(stat -c %s "$file")"
  for m in none rle lzh lh5; do
    "$zorp" compress -q -f -m "$m" -o "$work/packed" "$file"
    "$zorp" expand -q -f -o "$work/out" "$work/packed"
    cmp -s "$file" "$work/out" || { echo; echo "round trip of $file with $m changed the data" >&2; exit 1; }
    printf ' %9d' "$(stat -c %s "$work/packed")"
  done
  printf '\n'
done

echo
echo "== zorp archive of the corpus"
"$zorp" add -q -C "$corpus" "$work/corpus.zrp" "$corpus"   # a directory: recursed by default
"$zorp" list "$work/corpus.zrp"
"$zorp" test "$work/corpus.zrp"
"$zorp" extract -q -C "$work/extracted" "$work/corpus.zrp"   # makes the directories it needs
diff -r "$corpus" "$work/extracted" && echo "extracted tree equals the corpus"

echo
echo "== benchmark"
build/release/bench/zorp_bench --corpus "$corpus" "$@"

echo
echo "== whole-process comparison"
bench/compare.sh --corpus "$corpus"

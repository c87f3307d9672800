#!/usr/bin/env bash
# Whole-process comparison: times the release `zorp` tool with hyperfine
# against tools a user already has, and prints each pair's mean times and
# their ratio (zorp / peer):
#   - one file, the corpus concatenated: `zorp compress -m lh5` and `-m lzh`
#     against `gzip -6`, `zorp expand` against `gzip -d`;
#   - a source tree: `zorp add` against `tar czf`, `zorp extract` against
#     `tar xzf`;
#   - LHA: our LZH5 data of the concatenation wrapped as an -lh5- archive
#     (bench/zorp_lha_wrap) extracted by `lhasa x`, against `zorp expand` of
#     the same data.
# Every command's output is checked against the input before and after the
# timing; a pair whose command fails or whose output differs is reported as
# such, without a ratio, and the exit status is then 1.
#
#   bench/compare.sh [--corpus DIR] [--tree DIR] [--copies N] [--runs N]
#                    [--warmup N] [--build DIR]
#
# --corpus: the sample files (default $ZORP_CORPUS, else ../shared/corpus
#           beside the repository), read in place;
# --tree:   the source tree to archive (default the newest /usr/include/c++/*,
#           which g++ brings, else the repository's own sources);
# --copies: how many times the corpus is concatenated (default 1);
# --runs, --warmup: hyperfine's runs per command (default 3 and 1);
# --build:  the release build directory (default build/release), which must
#           hold the targets zorp and zorp_lha_wrap.
# The check functions are called through run_pair's arguments:
# shellcheck disable=SC2317
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

corpus=${ZORP_CORPUS:-$root/../shared/corpus}
tree=""
copies=1
runs=3
warmup=1
build=$root/build/release
usage() {
  sed -n 's/^#   \(bench\/compare.sh.*\)/usage: \1/p; s/^#  \{18\}\(\[.*\)/                \1/p' "$0" >&2
  exit 2
}
while [ $# -gt 0 ]; do
  [ $# -ge 2 ] || usage
  case $1 in
    --corpus) corpus=$2 ;;
    --tree) tree=$2 ;;
    --copies) copies=$2 ;;
    --runs) runs=$2 ;;
    --warmup) warmup=$2 ;;
    --build) build=$2 ;;
    *) usage ;;
  esac
  shift 2
done
for n in "$copies" "$runs" "$warmup"; do
  [[ $n =~ ^[0-9]+$ ]] || usage
done
if [ "$copies" -lt 1 ] || [ "$runs" -lt 2 ]; then usage; fi

zorp=$build/tools/zorp/zorp
wrap=$build/bench/zorp_lha_wrap
for f in "$zorp" "$wrap"; do
  [ -x "$f" ] || { echo "compare.sh: $f is missing; build it: cmake --preset release && cmake --build --preset release --target zorp zorp_lha_wrap" >&2; exit 2; }
done
for t in hyperfine gzip tar lhasa cmp diff; do
  command -v "$t" >/dev/null || { echo "compare.sh: $t is not installed (scripts/install-deps.sh installs it)" >&2; exit 2; }
done
[ -d "$corpus" ] || { echo "compare.sh: no corpus directory $corpus" >&2; exit 2; }
if [ -z "$tree" ]; then
  tree=$(find /usr/include/c++ -mindepth 1 -maxdepth 1 -type d 2>/dev/null | sort -V | tail -n 1)
  [ -n "$tree" ] || tree=$root
fi
tree=$(cd "$tree" && pwd)
tree_parent=$(dirname "$tree")
tree_name=$(basename "$tree")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
w=$work

# The inputs: the corpus concatenated (read from where it lies) and the
# tree, of which the repository's build directories and git data are left out.
mapfile -t files < <(find "$corpus" -type f | LC_ALL=C sort)
[ ${#files[@]} -gt 0 ] || { echo "compare.sh: $corpus holds no files" >&2; exit 2; }
for ((i = 0; i < copies; i++)); do cat "${files[@]}"; done >"$w/corpus.bin"
tree_files=$(find "$tree" -path "$tree/build" -prune -o -path "$tree/.git" -prune -o -type f -print | wc -l)
tree_bytes=$(find "$tree" -path "$tree/build" -prune -o -path "$tree/.git" -prune -o -type f -printf '%s\n' | awk '{s += $1} END {print s + 0}')

# The commands of each pair, timed as written (through sh -c, whose start
# hyperfine subtracts). Outputs go to fixed places, checked after the runs.
c_lh5="'$zorp' compress -q -f -m lh5 -o '$w/corpus.lh5.zrp' '$w/corpus.bin'"
c_lzh="'$zorp' compress -q -f -m lzh -o '$w/corpus.lzh.zrp' '$w/corpus.bin'"
c_gz="gzip -6 -c '$w/corpus.bin' > '$w/corpus.bin.gz'"
x_lh5="'$zorp' expand -q -f -o '$w/out.lh5' '$w/corpus.lh5.zrp'"
x_lzh="'$zorp' expand -q -f -o '$w/out.lzh' '$w/corpus.lzh.zrp'"
x_gz="gzip -d -c '$w/corpus.bin.gz' > '$w/out.gz'"
a_zorp="'$zorp' add -r -q --exclude '$tree_name/build' --exclude '$tree_name/.git' -C '$tree_parent' '$w/tree.zrp' '$tree'"
a_tar="tar czf '$w/tree.tar.gz' -C '$tree_parent' --exclude='$tree_name/build' --exclude='$tree_name/.git' '$tree_name'"
e_zorp="'$zorp' extract -q -C '$w/x.zorp' '$w/tree.zrp'"
e_tar="tar xzf '$w/tree.tar.gz' -C '$w/x.tar'"
l_zorp="'$zorp' expand -q -f -o '$w/lha.zorp/corpus.bin' '$w/corpus.lh5.zrp'"
l_lhasa="cd '$w/lha.lhasa' && lhasa xqf '$w/corpus.lzh'"
# Each extraction starts from an empty directory and `zorp add` (which adds
# to an existing archive) from none, outside the timing.
p_a_zorp="rm -f '$w/tree.zrp'"
p_x_zorp="rm -rf '$w/x.zorp' && mkdir '$w/x.zorp'"
p_x_tar="rm -rf '$w/x.tar' && mkdir '$w/x.tar'"
p_l_zorp="rm -rf '$w/lha.zorp' && mkdir '$w/lha.zorp'"
p_l_lhasa="rm -rf '$w/lha.lhasa' && mkdir '$w/lha.lhasa'"

# Checks: each prints nothing when the outputs are right, else what is wrong.
same_file() { cmp -s "$w/corpus.bin" "$1" || echo "$2 differs from the input"; }
same_tree() { diff -r -x build -x .git "$tree" "$1" >/dev/null 2>&1 || echo "$2 differs from the tree"; }
expands_right() {
  "$zorp" expand -q -f -o "$w/check" "$1" 2>/dev/null || { echo "$1 does not expand"; return; }
  same_file "$w/check" "its expansion"
}
check_c_lh5() { expands_right "$w/corpus.lh5.zrp"; }
check_c_lzh() { expands_right "$w/corpus.lzh.zrp"; }
check_c_gz() {
  gzip -d -c "$w/corpus.bin.gz" >"$w/check" 2>/dev/null || { echo "gzip's output does not expand"; return; }
  same_file "$w/check" "its expansion"
}
check_x_lh5() { same_file "$w/out.lh5" "zorp's output"; }
check_x_lzh() { same_file "$w/out.lzh" "zorp's output"; }
check_x_gz() { same_file "$w/out.gz" "gzip's output"; }
check_e_zorp() { same_tree "$w/x.zorp/$tree_name" "zorp's extracted tree"; }
check_e_tar() { same_tree "$w/x.tar/$tree_name" "tar's extracted tree"; }
check_l_zorp() { same_file "$w/lha.zorp/corpus.bin" "zorp's output"; }
check_l_lhasa() {
  lhasa tq "$w/corpus.lzh" >/dev/null 2>&1 || echo "lhasa t reports an error"
  same_file "$w/lha.lhasa/corpus.bin" "lhasa's output"
}
# The archive's member data must be the very bytes behind the .zrp header
# (the archive ends with one zero byte after them), so that both sides
# expand the same LZH5 stream.
check_lha_data() {
  local n
  n=$(($(stat -c %s "$w/corpus.lh5.zrp") - 21))
  head -c -1 "$w/corpus.lzh" | tail -c "$n" | cmp -s - <(tail -c +22 "$w/corpus.lh5.zrp") ||
    echo "the LHA member is not zorp's LZH5 stream"
}

# Runs the check function $1; one that cannot run counts as a problem too.
check() { "$1" 2>&1 || echo "the check $1 did not run"; }

# run_pair LABEL ZORP_CMD ZORP_PREP ZORP_CHECK PEER_NAME PEER_CMD PEER_PREP PEER_CHECK
# Runs both commands once and checks them, times them, checks the outputs
# of the last timed runs, and adds a row of the table (or the failure).
rows=()
failed=0
run_pair() {
  local label=$1 zc=$2 zp=$3 zk=$4 peer=$5 pc=$6 pp=$7 pk=$8 problem="" csv=$w/times.csv
  echo "timing: $label" >&2
  sh -c "$zp" && sh -c "$zc" >/dev/null 2>"$w/err" || problem="zorp failed (status $?): $(head -c 200 "$w/err")"
  [ -n "$problem" ] || problem=$(check "$zk")
  if [ -z "$problem" ]; then
    sh -c "$pp" && sh -c "$pc" >/dev/null 2>"$w/err" || problem="$peer failed (status $?): $(head -c 200 "$w/err")"
    [ -n "$problem" ] || problem=$(check "$pk")
  fi
  if [ -z "$problem" ]; then
    hyperfine --style none --warmup "$warmup" --runs "$runs" --export-csv "$csv" \
      -n zorp --prepare "$zp" "$zc" -n peer --prepare "$pp" "$pc" >/dev/null 2>"$w/err" ||
      problem="hyperfine failed: $(head -c 200 "$w/err")"
  fi
  if [ -z "$problem" ]; then
    problem=$(check "$zk")
    [ -n "$problem" ] || problem=$(check "$pk")
    [ -z "$problem" ] || problem="after the timed runs: $problem"
  fi
  if [ -n "$problem" ]; then
    rows+=("$(printf '%-30s %-8s  FAILED: %s' "$label" "$peer" "$(echo "$problem" | tr '\n' ' ')")")
    failed=1
    return
  fi
  rows+=("$(awk -F, -v label="$label" -v peer="$peer" '
    NR > 1 { mean[$1] = $2; cpu[$1] = $5 + $6 }
    END {
      z = mean["zorp"]; p = mean["peer"]; zc = cpu["zorp"]; pc = cpu["peer"]
      printf "%-30s %-8s %9.1f %9.1f", label, peer, z * 1000, p * 1000
      if (z <= 0 || p <= 0) {
        printf "  too short to compare"
        exit
      }
      r = z / p
      verdict = r < 1 ? sprintf("zorp %.2fx faster", 1 / r) : sprintf("%s %.2fx faster", peer, r)
      printf " %7.2f  %-20s %9.1f %9.1f", r, verdict, zc * 1000, pc * 1000
      if (pc > 0)
        printf " %7.2f", zc / pc
    }' "$csv")")
}

"$wrap" "$w/corpus.bin" "$w/corpus.lzh" corpus.bin
# The .zrp files expanded in the expand pairs are those the compress pairs
# write; the archive extracted is the one the add pair writes.
run_pair "compress -m lh5 (one file)" "$c_lh5" true check_c_lh5 "gzip -6" "$c_gz" true check_c_gz
run_pair "compress -m lzh (one file)" "$c_lzh" true check_c_lzh "gzip -6" "$c_gz" true check_c_gz
run_pair "expand, lh5 data (one file)" "$x_lh5" true check_x_lh5 "gzip -d" "$x_gz" true check_x_gz
run_pair "expand, lzh data (one file)" "$x_lzh" true check_x_lzh "gzip -d" "$x_gz" true check_x_gz
run_pair "archive a tree (add -r)" "$a_zorp" "$p_a_zorp" true "tar czf" "$a_tar" true true
run_pair "extract the tree" "$e_zorp" "$p_x_zorp" check_e_zorp "tar xzf" "$e_tar" "$p_x_tar" check_e_tar
lha_problem=$(check_lha_data)
if [ -n "$lha_problem" ]; then
  rows+=("$(printf '%-30s %-8s  FAILED: %s' "LHA -lh5- extract (one file)" "lhasa x" "$lha_problem")")
  failed=1
else
  run_pair "LHA -lh5- extract (one file)" "$l_zorp" "$p_l_zorp" check_l_zorp \
    "lhasa x" "$l_lhasa" "$p_l_lhasa" check_l_lhasa
fi

size() { stat -c %s "$1"; }
echo "== whole-process comparison (hyperfine: warmup $warmup, $runs runs; means in ms of wall time" \
  "and of CPU time, user + system; ratio = zorp / peer)"
echo "one file: the corpus concatenated x$copies, $(size "$w/corpus.bin") bytes;" \
  "tree: $tree, $tree_files files, $tree_bytes bytes"
echo "sizes: lh5 $(size "$w/corpus.lh5.zrp"), lzh $(size "$w/corpus.lzh.zrp")," \
  "gzip -6 $(size "$w/corpus.bin.gz"), -lh5- archive $(size "$w/corpus.lzh");" \
  "tree: zorp $(size "$w/tree.zrp" 2>/dev/null || echo -), tar.gz $(size "$w/tree.tar.gz" 2>/dev/null || echo -)"
printf '%-30s %-8s %9s %9s %7s  %-20s %9s %9s %7s\n' "operation" "peer" "zorp ms" "peer ms" "ratio" "faster" \
  "zorp cpu" "peer cpu" "ratio"
printf '%s\n' "${rows[@]}"
exit "$failed"

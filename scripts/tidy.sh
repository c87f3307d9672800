#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy: bugprone, performance and a cognitive-
# complexity limit) over the sources of the engine, the component, the
# compressed fields and controls, the SQLite extension, the Qt widgets
# (when the build has them) and the tool, with the compile commands of a
# configured build (default build/release). Exits non-zero on any finding.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${1:-build/release}
[ -f "$build/compile_commands.json" ] || { echo "configure $build first" >&2; exit 1; }
# GCC-only warning options in the compile commands mean nothing to clang.
sources=('engine/*.cpp' 'component/*.cpp' 'dbcontrols/*.cpp' 'sqlext/*.cpp' 'tools/*.cpp')
grep -q '/qtcontrols/' "$build/compile_commands.json" && sources+=('qtcontrols/*.cpp')
git ls-files "${sources[@]}" |
  xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet \
    --extra-arg=-Wno-unknown-warning-option 2>/dev/null
echo "clang-tidy: no findings"

#!/usr/bin/env bash
# The main job: installs what is missing, builds the optimised preset and
# runs every file of the corpus (default ../shared/corpus) through each
# method and back, timed beside zlib. Extra arguments go to zorp_bench.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target zorp_bench
corpus=${ZORP_CORPUS:-$root/../shared/corpus}
build/release/bench/zorp_bench --corpus "$corpus" "$@"

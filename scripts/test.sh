#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds and runs every test
# in the sanitizer preset (dev) and the optimised preset (release) -- the Qt
# widgets' tests on the offscreen platform, and the qt-notes example in a
# window under Xvfb, among them -- builds and
# runs the tests of work on several threads under ThreadSanitizer (tsan), runs
# clang-tidy over the library's and the tool's sources (scripts/tidy.sh), checks
# the packaging of the release build (scripts/test-package.sh: install,
# consumers, Debian package), then runs each fuzzer for FUZZ_SECONDS
# (default 10) seconds. Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh

echo "== formatting"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

for preset in dev release; do
  echo "== $preset: build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset: tests"
  ctest --preset "$preset" -j2
done

echo "== tsan: the tests of work on several threads"
cmake --preset tsan >/dev/null
cmake --build --preset tsan
ctest --preset tsan -j2

echo "== clang-tidy"
scripts/tidy.sh build/release

echo "== packaging: install, consumers, Debian package"
scripts/test-package.sh build/release

echo "== fuzzers"
fuzz/run.sh "${FUZZ_SECONDS:-10}"

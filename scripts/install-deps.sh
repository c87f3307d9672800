#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmark need
# (strace injects faults into the tool in the tests; doxygen generates the
# API reference in the packaging check; hyperfine times the tool against
# gzip, tar and lhasa in bench/compare.sh; Qt 6 Widgets, a font and Xvfb
# build and test the Qt widgets and the qt-notes example; libpq builds the
# PostgreSQL data set, whose tests start a throwaway PostgreSQL server; the
# sqlite3 shell and Python load the SQLite extension in its tests), when they
# are missing.
# Needs root (or sudo) only when something is missing.
set -euo pipefail
packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format clang-tidy
  googletest libgtest-dev zlib1g-dev libcli11-dev libsqlite3-dev libpq-dev postgresql
  lhasa libarchive-tools jlha-utils binutils
  dpkg-dev file pkgconf man-db strace doxygen hyperfine gzip tar
  qt6-base-dev fonts-dejavu-core xvfb xauth
  sqlite3 python3
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

#!/usr/bin/env bash
# Packaging checks on a built tree (default build/release), run by
# scripts/test.sh after the release tests:
#  0. generates the API reference with doxygen from the public headers;
#     any warning (a public class or member without a description) fails;
#  1. installs it (the reference with it) into a temporary prefix; every installed header must
#     compile on its own as <zorp/...> with include as the only include
#     directory, and the engine and the component's helpers must not be
#     there; each library's dynamic symbol table must hold the public API
#     only, and the SQLite extension's its entry point only;
#  2. builds tests/consumer against that install with find_package (one of
#     its programs carries a resource embedded with the package's
#     zorp_add_resource), and once more with pkg-config on a plain g++
#     command line, and runs them;
#  3. builds the Debian package with CPack, installs it with apt-get, runs
#     its /usr/bin/zorp over the corpus (default ../shared/corpus, or
#     $ZORP_CORPUS), builds a program against the system install with
#     pkg-config, loads its SQLite extension into the sqlite3 shell,
#     checks that `man zorp` shows the page and names every
#     command and option that `zorp --help` lists, and removes the package.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=$(cd "${1:-build/release}" && pwd)
corpus=${ZORP_CORPUS:-$root/../shared/corpus}
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
work=$(mktemp -d)
installed=""
cleanup() {
  if [ -n "$installed" ]; then
    echo "removing the package again"
    $sudo apt-get purge -y -qq zorp >/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

echo "== API reference"
cmake --build "$build" --target zorp_reference ||
  fail "the API reference has warnings (every public class and member needs a /// description)"

echo "== install into a temporary prefix"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
[ -f "$prefix/share/doc/zorp/reference/index.html" ] || fail "the API reference was not installed"
grep -q 'classzorp_1_1TZorp' "$prefix/share/doc/zorp/reference/annotated.html" ||
  fail "the API reference does not list TZorp"
# Each header on its own, included as a program includes it (<zorp/...>)
# with <prefix>/include as the only include directory.
headers=$(cd "$prefix/include" && find zorp -name '*.h' | sort)
mkdir "$work/headers"
while read -r header; do
  echo "#include <$header>" >"$work/headers/$(tr / _ <<<"$header").cpp"
done <<<"$headers"
find "$work/headers" -name '*.cpp' -print0 |
  xargs -0 -P "$(nproc)" -I{} g++ -std=c++20 -Wall -Wextra -Werror -fsyntax-only -I "$prefix/include" {} ||
  fail "installed headers do not compile on their own as <zorp/...>"
echo "$(wc -l <<<"$headers") public headers compile on their own from include"
for private in engine component/PathRules.h \
  component/FileMasks.h framework/base/ElfSections.h; do
  [ ! -e "$prefix/include/zorp/$private" ] || fail "private $private was installed"
done

# The libraries export the public API only: no symbol of an internal
# namespace, and of every symbol in namespace zorp (or zorp::fw) the first
# name, the class or function it belongs to, must be declared by an
# installed header. (Instances of standard templates are not checked.)
libdir=$(dirname "$(find "$prefix" -name libzorpcore.so)")
find "$prefix/include/zorp" -name '*.h' -exec sed 's|//.*||' {} + |
  grep -oE '[A-Za-z_][A-Za-z0-9_]*' | LC_ALL=C sort -u >"$work/declared"
for lib in zorprtl zorpvclrtl zorpdbrtl zorpcore zorpdb; do
  nm -D --defined-only -C "$libdir/lib$lib.so" | cut -d' ' -f3- >"$work/exported"
  if grep -E 'zorp::(lzh|lzh5|tool|test)::|\(anonymous namespace\)' "$work/exported" >"$work/internal"; then
    head -n 5 "$work/internal" >&2
    fail "lib$lib.so exports $(wc -l <"$work/internal") symbols of internal namespaces"
  fi
  awk 'match($0, /zorp::(fw::)?[A-Za-z_][A-Za-z0-9_]*/) {
         name = substr($0, RSTART, RLENGTH); sub(/.*::/, "", name); print name }' \
    "$work/exported" | LC_ALL=C sort -u | LC_ALL=C comm -23 - "$work/declared" >"$work/undeclared"
  [ ! -s "$work/undeclared" ] ||
    fail "lib$lib.so exports what no installed header declares: $(tr '\n' ' ' <"$work/undeclared")"
  echo "lib$lib.so exports $(wc -l <"$work/exported") symbols, all of the public API"
done
# The SQLite extension exports its entry point and nothing else.
[ -f "$libdir/libzorpsqlite.so" ] || fail "libzorpsqlite.so was not installed"
extension_exports=$(nm -D --defined-only "$libdir/libzorpsqlite.so" | awk '{print $3}')
[ "$extension_exports" = sqlite3_zorpsqlite_init ] ||
  fail "libzorpsqlite.so exports more than its entry point: $(tr '\n' ' ' <<<"$extension_exports")"
echo "libzorpsqlite.so exports sqlite3_zorpsqlite_init only"

echo "== consumer with find_package(Zorp)"
cmake -S tests/consumer -B "$work/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/consumer" >/dev/null
"$work/consumer/zorp_consumer"
"$work/consumer/zorpdb_consumer"
"$work/consumer/zorp_modern_consumer"

echo "== consumer with pkg-config"
pcdir=$(dirname "$(find "$prefix" -name zorpcore.pc)")
for pair in "zorpcore StringsAndStreams" "zorpcore ModernApi" "zorpdb CompressedColumn"; do
  read -r lib source <<<"$pair"
  # shellcheck disable=SC2046 # the flags are separate words
  g++ -std=c++20 -o "$work/pc_$source" "tests/consumer/$source.cpp" \
    $(PKG_CONFIG_PATH=$pcdir pkg-config --cflags --libs "$lib") \
    -Wl,-rpath,"$(PKG_CONFIG_PATH=$pcdir pkg-config --variable=libdir "$lib")"
  "$work/pc_$source" | tail -n 1
done

echo "== Debian package"
rm -f "$build"/zorp_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(echo "$build"/zorp_*.deb)
dpkg-deb -f "$deb" Package Version Depends
dpkg -c "$deb" >"$work/contents"
for path in usr/bin/zorp usr/lib/libzorpcore.so.0 usr/lib/libzorpdb.so.0 usr/share/man/man1/zorp.1.gz \
  usr/include/zorp/zorp.h usr/include/zorp/component/Zorp.h usr/lib/cmake/Zorp/ZorpConfig.cmake \
  usr/lib/cmake/Zorp/ZorpResources.cmake usr/lib/pkgconfig/zorpdb.pc usr/lib/libzorpsqlite.so; do
  grep -q " \./$path\( ->.*\)\?\$" "$work/contents" || fail "$path is not in $deb"
done
apt_options=()
# Container images often tell dpkg to leave out every manual page; then the
# page is let in explicitly, so that `man zorp` shows what the package holds.
if grep -rqsE '^[[:space:]]*path-exclude[[:space:]=]+/usr/share/man' /etc/dpkg/dpkg.cfg.d/; then
  echo "dpkg leaves out /usr/share/man on this machine: installing with zorp.1.gz let in"
  apt_options=(-o "DPkg::Options::=--path-include=/usr/share/man/man1/zorp.1.gz")
fi
installed=yes
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${apt_options[@]}" "$deb" >/dev/null
[ "$(command -v zorp)" = /usr/bin/zorp ] || fail "zorp is not /usr/bin/zorp"
/usr/bin/zorp --version
ldconfig -p | grep 'libzorpcore\.so\.0 ' >/dev/null || fail "ldconfig does not know libzorpcore.so.0"

echo "== /usr/bin/zorp over $corpus"
count=0
for file in "$corpus"/*; do
  [ -f "$file" ] || continue
  for m in none rle lzh lh5; do
    /usr/bin/zorp compress -q -f -m "$m" -k 0x5A5A1234 -o "$work/packed" "$file"
    /usr/bin/zorp expand -q -f -k 0x5A5A1234 -o "$work/out" "$work/packed"
    cmp -s "$file" "$work/out" || fail "round trip of $file with $m changed the data"
  done
  count=$((count + 1))
done
[ "$count" -gt 0 ] || fail "no files in $corpus"
/usr/bin/zorp add -q -C "$corpus" "$work/corpus.zrp" "$corpus"
/usr/bin/zorp test "$work/corpus.zrp"
/usr/bin/zorp extract -q --mkdirs -C "$work/extracted" "$work/corpus.zrp"
diff -r "$corpus" "$work/extracted" || fail "extracted tree differs from the corpus"
echo "$count files: compress/expand with every method, and an archive of the corpus, unchanged"

echo "== a program against the system install (pkg-config, ldconfig)"
# shellcheck disable=SC2046
g++ -std=c++20 -o "$work/system_consumer" tests/consumer/StringsAndStreams.cpp \
  $(pkg-config --cflags --libs zorpcore)
"$work/system_consumer" | tail -n 1

echo "== the SQLite extension from the package, in the sqlite3 shell"
text="replace(hex(zeroblob(500)), '00', 'ab')"
loaded=$(sqlite3 :memory: ".load /usr/lib/libzorpsqlite" \
  "SELECT zorp_expand_text(zorp_compress($text, 'lh5', 7), 7) = $text")
[ "$loaded" = 1 ] || fail "the installed libzorpsqlite does not round-trip a value: $loaded"
echo "sqlite3 loads /usr/lib/libzorpsqlite and round-trips a value"

echo "== man zorp"
MANWIDTH=400 LC_ALL=C man zorp >"$work/man.txt" 2>"$work/man.err" ||
  fail "man zorp: $(cat "$work/man.err")"
grep -q '^NAME' "$work/man.txt" || fail "man zorp shows no page"
# Subcommands and options as `zorp ... --help` lists them.
subcommands() { zorp "$@" --help | awk '/^Subcommands:/ {on = 1; next} on && NF {print $1}'; }
options() {
  zorp "$@" --help | awk '/^Options:/ {on = 1; next} /^$|^Subcommands:/ {on = 0} on {print $1}' |
    tr ',' '\n'
}
missing=0
check_command() {
  local path=("$@") sub opt
  for opt in $(options "${path[@]}"); do
    grep -qE -- "(^|[^-[:alnum:]])$opt([^-[:alnum:]]|\$)" "$work/man.txt" ||
      { echo "man zorp does not name $opt of zorp ${path[*]}" >&2; missing=1; }
  done
  for sub in $(subcommands "${path[@]}"); do
    grep -qF -- "zorp ${path[*]:+${path[*]} }$sub" "$work/man.txt" ||
      { echo "man zorp does not show zorp ${path[*]} $sub" >&2; missing=1; }
    check_command "${path[@]}" "$sub"
  done
}
check_command
[ "$missing" -eq 0 ] || fail "the man page misses commands or options"
echo "man zorp shows every command and option of zorp --help"

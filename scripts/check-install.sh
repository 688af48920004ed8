#!/usr/bin/env bash
# Checks the installed package as an integrator meets it, away from this
# repository:
#
#   1. installs a release build into a temporary prefix and checks its
#      layout: the libraries only in their private folder lib/QAXOntologyItem,
#      the manual page there and readable, the pkg-config file's paths plain,
#      no path of the repository or the build folder in an installed
#      program or library; then moves the prefix elsewhere (the install must
#      not depend on where it was made);
#   2. compiles every installed header on its own against the prefix;
#   3. copies the installed examples/host (the program of
#      docs/integrating.md) out, configures it with the moved prefix as the
#      first place to find packages, checks that the package came from there
#      and that no path into the repository reaches its build, builds it and
#      runs it on schema.org;
#   4. compiles the example's source with what `pkg-config --define-prefix
#      --cflags --libs qaxontologyitem` gives for the moved prefix, nothing
#      else, and runs it as it is (no LD_LIBRARY_PATH);
#   5. opens the installed module from a program that links nothing of the
#      project, and runs the installed qax-host from the moved prefix.
#
#   scripts/check-install.sh [BUILD_DIR]
#
# BUILD_DIR defaults to build/release, configured with the release preset;
# only what is installed is built there. Exits 0 when all holds, 1 with a
# message at the first check that fails. The temporary folder is removed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/release}"
build="$(cd "$root" && mkdir -p "$build" && cd "$build" && pwd)"

fail() {
  echo "check-install: $*" >&2
  exit 1
}
# Headers compiled at once (the machine's cores).
jobs="$(nproc)"

cd "$root"
# The example runs on schema.org, from the vocabularies the tests read.
scripts/fetch-vocabularies.sh
schema="$root/.cache/vocabularies/package/ontologies/schema.nq"
if [[ "$build" == "$root/build/release" ]]; then
  cmake --preset release >/dev/null
fi
cmake --build "$build" --target installable

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
stage="$tmp/stage"
cmake --install "$build" --prefix "$stage" >/dev/null

# 1. The layout. The libraries' generic names stay out of lib/, where they
# could clash with any other package's.
private="$stage/lib/QAXOntologyItem"
for file in QAXOntologyItem.so libHighPoly.so libQAX.so; do
  [[ -f "$private/$file" ]] || fail "no $file in lib/QAXOntologyItem/"
  [[ ! -e "$stage/lib/$file" ]] || fail "$file is installed into lib/ itself"
done
extra="$(find "$stage/lib" -maxdepth 1 -type f -printf '%P\n')"
[[ -z "$extra" ]] || fail "files straight in lib/: $extra"
page="$stage/share/man/man1/qax-host.1"
[[ -f "$page" ]] || fail "no manual page share/man/man1/qax-host.1"
# As man shows it where man is installed, else its text without the font
# changes and escapes.
if command -v man >/dev/null; then
  shown="$(LC_ALL=C MANWIDTH=80 man -l "$page" 2>/dev/null)"
else
  shown="$(sed -e 's/\\f[BIRP]//g' -e 's/\\[,/]//g' -e 's/\\-/-/g' "$page")"
fi
for expected in "qax-host - command-line host of the QAXOntologyItem channel module" \
  "commands:" "--connect-timeout SECONDS" "QAX_HOST_VOCABULARIES"; do
  grep -qF -- "$expected" <<<"$shown" || fail "the manual page does not show '$expected'"
done
# The pkg-config file's paths are the folders themselves, with the run path
# that finds the libraries.
pc_libs="$(PKG_CONFIG_LIBDIR="$stage/lib/pkgconfig" PKG_CONFIG_PATH="" \
  pkg-config --cflags --libs qaxontologyitem | sed 's/ *$//')"
expected_libs="-I$stage/include/QAXOntologyItem -L$private -Wl,-rpath,$private"
expected_libs+=" $private/QAXOntologyItem.so -lQAX -lHighPoly"
[[ "$pc_libs" == "$expected_libs" ]] ||
  fail "pkg-config gives '$pc_libs', not '$expected_libs'"
# No installed program or library names the tree it was built from. Debug
# information is left out of the search: a debug build's keeps the sources'
# paths for the debugger, as it should.
while IFS= read -r -d '' binary; do
  objcopy --strip-debug "$binary" "$tmp/stripped"
  # Through a file: grep -m1 in a pipe would end strings early, failing the
  # pipe, so that a match would read as none.
  strings -a "$tmp/stripped" >"$tmp/strings"
  if found="$(grep -m1 -F -e "$root" -e "$build" "$tmp/strings")"; then
    fail "${binary#"$stage"/} holds a path of the build: $found"
  fi
done < <(find "$stage/bin" "$private" -type f -print0)
echo "check-install: libraries in lib/QAXOntologyItem/, manual page, plain pkg-config paths, no build path"

mv "$stage" "$tmp/prefix"
prefix="$tmp/prefix"
echo "check-install: installed $(du -sh "$prefix" | cut -f1) into a prefix, then moved it"

# 2. Every installed header alone, so that none needs one that is not
# installed or an include path into the repository.
include="$prefix/include/QAXOntologyItem"
[[ -f "$include/ontology_item/Aco_QAXOntologyItem.h" ]] || fail "no headers under $include"
(cd "$include" && find . -name '*.h' -printf '%P\n') | sort >"$tmp/headers"
export include
if ! xargs -P "$jobs" -I '{}' sh -c \
  'printf "#include \"%s\"\n" "{}" | c++ -std=c++17 -fsyntax-only -x c++ -I "$include" - ||
   { echo "check-install: installed header {} does not compile alone" >&2; exit 255; }' \
  <"$tmp/headers"; then
  fail "installed headers do not compile alone"
fi
echo "check-install: $(wc -l <"$tmp/headers") installed headers compile alone"

# 3. The example, built with find_package from the moved prefix only.
cp -r "$prefix/share/doc/QAXOntologyItem/examples/host" "$tmp/example"
cmake -S "$tmp/example" -B "$tmp/example-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF \
  -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >"$tmp/example-configure.log" ||
  { cat "$tmp/example-configure.log" >&2; fail "the example does not configure"; }
cmake --build "$tmp/example-build" >"$tmp/example-build.log" ||
  { cat "$tmp/example-build.log" >&2; fail "the example does not build"; }
grep -q "^QAXOntologyItem_DIR:PATH=$prefix/" "$tmp/example-build/CMakeCache.txt" ||
  fail "the example found the package elsewhere than in the prefix"
for file in CMakeCache.txt build.ninja compile_commands.json; do
  if grep -q -e "$root" -e "$build" "$tmp/example-build/$file"; then
    fail "the example's $file names the repository: $(grep -m1 -e "$root" -e "$build" "$tmp/example-build/$file")"
  fi
done
example="$tmp/example-build/qax-example-host"
if readelf -d "$example" | grep -q -e "$root" -e "$build"; then
  fail "the example's run path names the repository"
fi
# The installed page's program is the installed source, and the program
# prints exactly the output the page shows.
docs="$prefix/share/doc/QAXOntologyItem"
tutorial=(python3 "$root/scripts/check-tutorial.py" "$docs/docs/integrating.md"
  "$docs/examples/host/ExampleHost.cpp" --run)
mkdir "$tmp/run" "$tmp/run-pc"
(cd "$tmp/run" && "${tutorial[@]}" "$example" "$schema") >"$tmp/example.out" 2>&1 ||
  { cat "$tmp/example.out" >&2; fail "the example failed or printed other than integrating.md shows"; }
echo "check-install: the example builds with find_package and prints what integrating.md shows"

# 4. The same source with pkg-config's flags and the module's path from it;
# the prefix was moved, so pkg-config takes it from the file's folder.
export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" PKG_CONFIG_PATH=""
pc=(pkg-config --define-prefix)
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
[[ "$("${pc[@]}" --modversion qaxontologyitem)" == "$version" ]] ||
  fail "pkg-config gives version $("${pc[@]}" --modversion qaxontologyitem), not $version"
module="$("${pc[@]}" --variable=module qaxontologyitem)"
[[ "$module" == "$prefix/lib/QAXOntologyItem/QAXOntologyItem.so" ]] ||
  fail "pkg-config's module is '$module', not $prefix/lib/QAXOntologyItem/QAXOntologyItem.so"
[[ -f "$module" ]] || fail "pkg-config's module '$module' is no file"
# shellcheck disable=SC2046  # the flags are words
c++ -std=c++17 $("${pc[@]}" --cflags qaxontologyitem) \
  -DQAX_EXAMPLE_MODULE="\"$module\"" \
  "$tmp/example/ExampleHost.cpp" $("${pc[@]}" --libs qaxontologyitem) -o "$tmp/pc-example" ||
  fail "the example does not build with pkg-config's flags"
(cd "$tmp/run-pc" && env -u LD_LIBRARY_PATH "${tutorial[@]}" "$tmp/pc-example" "$schema") \
  >"$tmp/pc-example.out" 2>&1 ||
  { cat "$tmp/pc-example.out" >&2; fail "the example built with pkg-config's flags failed"; }
echo "check-install: pkg-config finds the moved package; the example builds with its flags and runs"

# 5. The module alone, opened by a program that links none of the libraries
# (as an engine opens it), and qax-host from the moved prefix: each finds
# the libraries through its own run path.
python3 -c 'import ctypes, sys; ctypes.CDLL(sys.argv[1])' "$module" ||
  fail "the installed module cannot be opened by a program that does not link its libraries"
"$prefix/bin/qax-host" --version >/dev/null || fail "the installed qax-host does not start"
"$prefix/bin/qax-host" links zoo:Penguin >/dev/null ||
  fail "the installed qax-host does not find or use the installed module"
echo "check-install: the installed qax-host runs"

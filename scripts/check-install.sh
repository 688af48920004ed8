#!/usr/bin/env bash
# Checks the installed package as an integrator meets it, away from this
# repository:
#
#   1. installs a release build into a temporary prefix and moves the prefix
#      elsewhere (the install must not depend on where it was made);
#   2. compiles every installed header on its own against the prefix;
#   3. copies the installed examples/host (the program of
#      docs/integrating.md) out, configures it with the moved prefix as the
#      first place to find packages, checks that the package came from there
#      and that no path into the repository reaches its build, builds it and
#      runs it on schema.org;
#   4. compiles and runs the example's source with what
#      `pkg-config --cflags --libs qaxontologyitem` gives;
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
cmake --install "$build" --prefix "$tmp/stage" >/dev/null
mv "$tmp/stage" "$tmp/prefix"
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
mkdir "$tmp/run"
(cd "$tmp/run" && "$example" "$schema") >"$tmp/example.out" 2>&1 ||
  { cat "$tmp/example.out" >&2; fail "the example failed"; }
grep -q "^conforms$" "$tmp/example.out" || fail "the example did not finish"
echo "check-install: the example builds with find_package and runs"

# 4. The same source with pkg-config's flags and the module's path from it.
export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" PKG_CONFIG_PATH=""
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
[[ "$(pkg-config --modversion qaxontologyitem)" == "$version" ]] ||
  fail "pkg-config gives version $(pkg-config --modversion qaxontologyitem), not $version"
module="$(pkg-config --variable=module qaxontologyitem)"
[[ -f "$module" ]] || fail "pkg-config's module '$module' is no file"
# shellcheck disable=SC2046  # the flags are words
c++ -std=c++17 $(pkg-config --cflags qaxontologyitem) \
  -DQAX_EXAMPLE_MODULE="\"$module\"" \
  "$tmp/example/ExampleHost.cpp" $(pkg-config --libs qaxontologyitem) -o "$tmp/pc-example" ||
  fail "the example does not build with pkg-config's flags"
(cd "$tmp/run" && LD_LIBRARY_PATH="$(pkg-config --variable=libdir qaxontologyitem)" "$tmp/pc-example" "$schema" \
  pc.grp) >/dev/null || fail "the example built with pkg-config's flags failed"
echo "check-install: pkg-config finds the package; the example builds with its flags and runs"

# 5. The module alone, opened by a program that links none of the libraries
# (as an engine opens it), and qax-host from the moved prefix: each finds
# the libraries through its own run path.
python3 -c 'import ctypes, sys; ctypes.CDLL(sys.argv[1])' "$module" ||
  fail "the installed module cannot be opened by a program that does not link its libraries"
"$prefix/bin/qax-host" --version >/dev/null || fail "the installed qax-host does not start"
"$prefix/bin/qax-host" links zoo:Penguin >/dev/null ||
  fail "the installed qax-host does not find or use the installed module"
echo "check-install: the installed qax-host runs"

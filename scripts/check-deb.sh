#!/usr/bin/env bash
# Makes the Debian package and the tarball from a release build, checks
# what the package holds (the libraries in /usr/lib/QAXOntologyItem/ only,
# the machine-readable copyright file, the compressed manual page, no path of
# the build), installs it into this machine with dpkg -i, checks that it
# works from /usr (the installed qax-host, the example built with
# find_package and no prefix given, and built with pkg-config's flags alone),
# and removes the package again. The tarball's pkg-config file must take its
# prefix from its own folder.
#
#   scripts/check-deb.sh [BUILD_DIR]
#
# BUILD_DIR defaults to build/release (scripts/check-install.sh configures
# and builds it). Needs root or sudo, and a machine on which installing
# and removing the package "qaxontologyitem" is fine, as in CI. Exits 0
# when all holds, 1 with a message at the first check that fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build/release}" && pwd)"
package=qaxontologyitem

fail() {
  echo "check-deb: $*" >&2
  exit 1
}
as_root=()
if [[ $(id -u) -ne 0 ]]; then as_root=(sudo); fi

cmake --build "$build" --target installable
# The example runs on schema.org, from the vocabularies the tests read.
"$root/scripts/fetch-vocabularies.sh"
schema="$root/.cache/vocabularies/package/ontologies/schema.nq"
rm -f "$build"/${package}_*.deb "$build"/${package}-*.tar.gz
(cd "$build" && cpack -G DEB >/dev/null && cpack -G TGZ >/dev/null)
deb="$(ls "$build"/${package}_*.deb)"
echo "check-deb: $(basename "$deb"), $(stat -c %s "$deb") bytes;" \
  "$(basename "$build"/${package}-*.tar.gz), $(stat -c %s "$build"/${package}-*.tar.gz) bytes"

tmp="$(mktemp -d)"
tarball="$(ls "$build"/${package}-*.tar.gz)"
cleanup() {
  "${as_root[@]}" dpkg --purge "$package" >/dev/null 2>&1 || true
  rm -rf "$tmp"
}
trap cleanup EXIT

# What the package holds, before it is installed.
dpkg-deb -x "$deb" "$tmp/deb"
(cd "$tmp/deb" && find . -mindepth 1 ! -type d -printf '/%P\n') | sort >"$tmp/listing"
for file in /usr/bin/qax-host /usr/lib/QAXOntologyItem/QAXOntologyItem.so \
  /usr/lib/QAXOntologyItem/libHighPoly.so /usr/lib/QAXOntologyItem/libQAX.so \
  /usr/lib/cmake/QAXOntologyItem/QAXOntologyItemConfig.cmake /usr/lib/pkgconfig/qaxontologyitem.pc \
  /usr/include/QAXOntologyItem/ontology_item/Aco_QAXOntologyItem.h \
  /usr/share/doc/QAXOntologyItem/LICENSE /usr/share/doc/${package}/copyright \
  /usr/share/man/man1/qax-host.1.gz; do
  grep -qx "$file" "$tmp/listing" || fail "the package does not hold $file"
done
# Nothing outside /usr; nothing straight in /usr/lib, where the generic
# library names could clash with another package's; no uncompressed page.
stray="$(awk '!/^\/usr\// || /^\/usr\/lib\/[^\/]+$/ || /^\/usr\/share\/man\/.*[^z]$/' "$tmp/listing")"
if [[ -n "$stray" ]]; then
  fail "the package holds $stray"
fi
copyright="$tmp/deb/usr/share/doc/${package}/copyright"
[[ "$(head -1 "$copyright")" == "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ]] ||
  fail "the copyright file is not in the machine-readable format: $(head -1 "$copyright")"
for line in "Files: *" "License: Expat" "Copyright: $(sed -n 's/^Copyright (c) //p' "$root/LICENSE")" \
  " $(sed -n '$p' "$root/LICENSE")"; do
  grep -qxF -- "$line" "$copyright" || fail "the copyright file has no line '$line'"
done
page="$tmp/deb/usr/share/man/man1/qax-host.1.gz"
gzip -t "$page" || fail "qax-host.1.gz is no gzip file"
zcat "$page" | grep -q '^\.TH QAX-HOST "1"' || fail "qax-host.1.gz is no manual page of qax-host"
# No path of the source tree or the build folder in any file of it.
found="$(grep -rlF -e "$root" -e "$build" "$tmp/deb" | head -1 || true)"
[[ -z "$found" ]] ||
  fail "the package's ${found#"$tmp/deb"} names the build: $(strings -a "$found" | grep -m1 -F -e "$root" -e "$build")"

# The tarball is unpacked anywhere: its pkg-config file finds its prefix
# from its own folder.
tar -xzf "$tarball" -C "$tmp"
unpacked="$(ls -d "$tmp"/${package}-*-Linux)"
[[ "$(PKG_CONFIG_LIBDIR="$unpacked/lib/pkgconfig" PKG_CONFIG_PATH="" pkg-config --define-prefix \
  --variable=module qaxontologyitem)" == "$unpacked/lib/QAXOntologyItem/QAXOntologyItem.so" ]] ||
  fail "the tarball's pkg-config file does not find the module from its own folder"
found="$(grep -rlF -e "$root" -e "$build" "$unpacked" | head -1 || true)"
[[ -z "$found" ]] || fail "the tarball's ${found#"$unpacked"} names the build"
echo "check-deb: the package holds its files where Debian wants them; the tarball is relocatable"

DEBIAN_FRONTEND=noninteractive "${as_root[@]}" dpkg -i "$deb" >/dev/null ||
  fail "dpkg -i $deb failed"
/usr/bin/qax-host --version >/dev/null || fail "the installed qax-host does not start"
qax-host describe zoo:Penguin >/dev/null ||
  fail "the installed qax-host does not find or use the installed module"
if command -v man >/dev/null && ! man -w qax-host >/dev/null 2>&1; then
  fail "man does not find the installed page of qax-host"
fi

cp -r /usr/share/doc/QAXOntologyItem/examples/host "$tmp/example"
cmake -S "$tmp/example" -B "$tmp/build" -G Ninja >"$tmp/configure.log" ||
  { cat "$tmp/configure.log" >&2; fail "the example does not configure against /usr"; }
cmake --build "$tmp/build" >"$tmp/build.log" ||
  { cat "$tmp/build.log" >&2; fail "the example does not build against /usr"; }
(cd "$tmp" && "$tmp/build/qax-example-host" "$schema" >/dev/null) || fail "the example failed against /usr"
# With pkg-config's flags alone: /usr/lib/QAXOntologyItem is no folder the
# loader searches, so the program runs only through the run path they give.
module="$(PKG_CONFIG_PATH="" pkg-config --variable=module qaxontologyitem)"
[[ "$module" == /usr/lib/QAXOntologyItem/QAXOntologyItem.so ]] ||
  fail "pkg-config's module is '$module', not /usr/lib/QAXOntologyItem/QAXOntologyItem.so"
# shellcheck disable=SC2046  # the flags are words
c++ -std=c++17 $(PKG_CONFIG_PATH="" pkg-config --cflags qaxontologyitem) \
  -DQAX_EXAMPLE_MODULE="\"$module\"" \
  "$tmp/example/ExampleHost.cpp" $(PKG_CONFIG_PATH="" pkg-config --libs qaxontologyitem) \
  -o "$tmp/pc-example" || fail "the example does not build with pkg-config's flags against /usr"
(cd "$tmp" && env -u LD_LIBRARY_PATH "$tmp/pc-example" "$schema" pc.grp >/dev/null) ||
  fail "the example built with pkg-config's flags failed against /usr"
echo "check-deb: the package installs with dpkg -i and works from /usr"

#!/usr/bin/env bash
# Makes the Debian package and the tarball from a release build, installs
# the package into this machine with dpkg -i, checks what it holds and that
# it works from /usr (the installed qax-host, the example built with
# find_package and no prefix given), and removes the package again.
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
rm -f "$build"/${package}_*.deb "$build"/${package}-*.tar.gz
(cd "$build" && cpack -G DEB >/dev/null && cpack -G TGZ >/dev/null)
deb="$(ls "$build"/${package}_*.deb)"
echo "check-deb: $(basename "$deb"), $(stat -c %s "$deb") bytes;" \
  "$(basename "$build"/${package}-*.tar.gz), $(stat -c %s "$build"/${package}-*.tar.gz) bytes"

tmp="$(mktemp -d)"
cleanup() {
  "${as_root[@]}" dpkg --purge "$package" >/dev/null 2>&1 || true
  rm -rf "$tmp"
}
trap cleanup EXIT
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" dpkg -i "$deb" >/dev/null ||
  fail "dpkg -i $deb failed"
listing="$(dpkg -L "$package")"
for file in /usr/bin/qax-host /usr/lib/QAXOntologyItem.so /usr/lib/libHighPoly.so \
  /usr/lib/libQAX.so /usr/lib/cmake/QAXOntologyItem/QAXOntologyItemConfig.cmake \
  /usr/lib/pkgconfig/qaxontologyitem.pc /usr/include/QAXOntologyItem/ontology_item/Aco_QAXOntologyItem.h \
  /usr/share/doc/QAXOntologyItem/LICENSE; do
  grep -qx "$file" <<<"$listing" || fail "the package does not hold $file"
done
/usr/bin/qax-host --version >/dev/null || fail "the installed qax-host does not start"
qax-host describe zoo:Penguin >/dev/null ||
  fail "the installed qax-host does not find or use the installed module"

cp -r /usr/share/doc/QAXOntologyItem/examples/host "$tmp/example"
cmake -S "$tmp/example" -B "$tmp/build" -G Ninja >"$tmp/configure.log" ||
  { cat "$tmp/configure.log" >&2; fail "the example does not configure against /usr"; }
cmake --build "$tmp/build" >"$tmp/build.log" ||
  { cat "$tmp/build.log" >&2; fail "the example does not build against /usr"; }
(cd "$tmp" && "$tmp/build/qax-example-host" "$root/.cache/vocabularies/package/ontologies/schema.nq" >/dev/null) || fail "the example failed against /usr"
echo "check-deb: the package installs with dpkg -i and works from /usr"

#!/usr/bin/env bash
# Installs what the project needs on a fresh Debian machine, once: compilers
# and build tools, GoogleTest, Google Benchmark, serd and raptor (RDF
# parsing), PCRE2 (the patterns that validation shapes state), libcurl (the
# store client's HTTP), npm (to fetch the test vocabularies), Graphviz (to
# draw channel graphs), help2man (qax-host's manual page, made from its
# --help), Python's rdflib (to read the JSON-LD export back
# independently) and the Virtuoso RDF store (the store tests start one on
# loopback; scripts/store-server.sh); for
# the checks of .ci/run also clang with its sanitizer and libFuzzer runtimes,
# clang-tidy, cppcheck and valgrind. Packages already present are left alone.
#
#   scripts/setup.sh [--windows]
#
# --windows also installs what the Windows build needs: the MinGW-w64 cross
# compiler (posix threads variant), GoogleTest's sources to build for it,
# and Wine to run its tests.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          libserd-dev libraptor2-dev libpcre2-dev libcurl4-gnutls-dev nlohmann-json3-dev graphviz help2man
          virtuoso-opensource-7-bin curl clang libclang-rt-14-dev clang-tidy
          cppcheck valgrind python3-rdflib)
case "${1:-}" in
  "") ;;
  --windows) packages+=(g++-mingw-w64-x86-64-posix googletest wine wine64) ;;
  *) echo "setup: unknown option '$1' (use --windows or nothing)" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
# npm may come with a Node.js that is not Debian's (and conflicts with
# Debian's npm package): only the command matters.
if ! command -v npm >/dev/null 2>&1; then missing+=(npm); fi

if ((${#missing[@]} > 0)); then
  echo "setup: installing ${missing[*]}" >&2
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi

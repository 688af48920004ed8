#!/usr/bin/env bash
# Runs every test program of a build under valgrind memcheck, two at a time:
# no error and no leak (definite, indirect or possible) may show.
#
#   scripts/valgrind-tests.sh [BUILD_DIR]     default: build/dev
#
# - --soname-synonyms=somalloc=nouserintercepts keeps the operator new that
#   hardening_test installs for fault injection and byte counting; valgrind
#   still sees every block, through malloc.
# - tests/valgrind.supp holds the one report that is not the program's.
# - Shortened: hardening_test's 100,000-class hierarchy is left out (over a
#   minute under valgrind; the normal and sanitizer runs have it) and its
#   randomized run takes 2,000 steps instead of 20,000; qax_invariance_test
#   runs its generated vocabularies only, not every vocabulary of the package
#   shuffled and converted (a quarter of an hour under valgrind; the normal
#   and sanitizer runs have them).
# - The store tests get a store server of their own (scripts/store-server.sh,
#   stopped at the end whatever happens), and the load test a smaller load
#   (QAX_STORE_LOAD, QAX_STORE_RACE_ROUNDS): the full one takes minutes
#   under valgrind, and the normal and sanitizer runs have it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build/dev}" && pwd)
logs=$build/valgrind
rm -rf "$logs"
mkdir -p "$logs"

run_one() {
  local program=$1 name filter=()
  name=$(basename "$program")
  if [[ $name == hardening_test ]]; then
    filter=(--gtest_filter=-Bounds.AHundredThousandDeepHierarchyLoadsPreparesAndBuilds)
  elif [[ $name == qax_invariance_test ]]; then
    filter=(--gtest_filter=-PackageVocabulary*)
  fi
  if QAX_BIN_DIR="$BUILD/bin" QAX_RANDOMIZED_STEPS=2000 valgrind -q --error-exitcode=99 \
      --leak-check=full --show-leak-kinds=definite,indirect,possible \
      --errors-for-leak-kinds=definite,indirect,possible \
      --soname-synonyms=somalloc=nouserintercepts --suppressions="$ROOT/tests/valgrind.supp" \
      "$program" "${filter[@]}" >"$LOGS/$name.log" 2>&1; then
    echo "valgrind: $name clean"
  else
    echo "valgrind: $name FAILED (exit $?), see $LOGS/$name.log"
    return 1
  fi
}
export -f run_one
export BUILD=$build LOGS=$logs ROOT=$PWD

store=$build/valgrind-store
scripts/store-server.sh start "$store" >/dev/null
trap 'scripts/store-server.sh stop "$store"' EXIT
export QAX_STORE_FIXTURE=$store QAX_STORE_LOAD=8,10,100 QAX_STORE_RACE_ROUNDS=5

find "$build/bin" -maxdepth 1 -name '*_test' -type f -executable | sort |
  xargs -P 2 -I{} bash -c 'run_one {}'

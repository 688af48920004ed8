#!/usr/bin/env bash
# Static checks of the project's own code (host/, module/, channel_extension/, entry/,
# multimode/, ontology_item/, tools/, fuzz/), both of which must be clean:
#   clang-tidy  with the checks of .clang-tidy (which says what they are and
#               why), every warning an error;
#   cppcheck    errors, warnings, performance and portability, with the
#               suppressions of .cppcheck-suppressions: two interfaces take a
#               text by value on purpose, and system headers are not analysed.
# First, scripts/include-cycles.py: no include circle between files or
# folders anywhere in the project, tests and tools included.
# Tests and benchmarks are left out: their GoogleTest and Google Benchmark
# macros cost most of the time and give cppcheck false positives; the
# compilers' warnings, the sanitizers and valgrind cover them.
#
#   scripts/lint.sh [BUILD_DIR]     a configured build; default: build/dev
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}
if [[ ! -f $build/compile_commands.json ]]; then
  echo "lint.sh: $build/compile_commands.json is missing; configure the build first" >&2
  exit 2
fi
scope='/(host|module|channel_extension|multimode|ontology_item|entry|tools|fuzz)/'
jobs=$(nproc)

echo "lint: include circles" >&2
scripts/include-cycles.py

echo "lint: clang-tidy" >&2
run-clang-tidy-14 -quiet -j "$jobs" -p "$build" "$PWD$scope" >"$build/clang-tidy.log" 2>&1 || {
  grep -E "(warning|error):" "$build/clang-tidy.log" | sort -u >&2
  echo "lint: clang-tidy found problems; see $build/clang-tidy.log" >&2
  exit 1
}

echo "lint: cppcheck" >&2
filters=()
for folder in host module channel_extension multimode ontology_item entry tools fuzz; do
  filters+=("--file-filter=$folder/*")
done
mkdir -p "$build/cppcheck"
cppcheck --project="$build/compile_commands.json" "${filters[@]}" --std=c++17 \
  --enable=warning,performance,portability --inline-suppr --quiet -j "$jobs" \
  --cppcheck-build-dir="$build/cppcheck" --suppressions-list=.cppcheck-suppressions \
  --error-exitcode=1
echo "lint: clean" >&2

#!/usr/bin/env bash
# Builds the fuzz programs (CMake preset "fuzz": clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs one target, or
# all of them one after the other, for the given number of seconds each.
#
#   scripts/fuzz.sh TARGET|all SECONDS [libFuzzer options ...]
#
# Targets: item_records, group_file, vocabulary, diagnostics, well_formed_group,
# validation, vocabulary_release, validation_cost, query_results
# (fuzz/FuzzTargets.h).
# Each starts from its committed seeds (fuzz/corpus/<target>/) and grows a
# working corpus in build/fuzz/corpus/<target>/ from run to run. An input
# that breaks something is written to build/fuzz/artifacts/<target>/ and the
# script fails: once the fault is fixed, commit that input under
# fuzz/regressions/<target>/, where the ordinary test suite replays it.
set -euo pipefail
cd "$(dirname "$0")/.."
if (($# < 2)); then
  sed -n '2,16s/^# \{0,1\}//p' "$0" >&2
  exit 2
fi
target=$1
seconds=$2
shift 2
targets=(item_records group_file vocabulary diagnostics well_formed_group validation
  vocabulary_release validation_cost query_results)
if [[ $target != all ]]; then
  if [[ ! " ${targets[*]} " == *" $target "* ]]; then
    echo "fuzz.sh: no target '$target' (targets: ${targets[*]})" >&2
    exit 2
  fi
  targets=("$target")
fi

cmake --preset fuzz >/dev/null
if ! cmake --build --preset fuzz >build/fuzz/build.log 2>&1; then
  tail -n 40 build/fuzz/build.log >&2
  echo "fuzz: the fuzz programs do not build; see build/fuzz/build.log" >&2
  exit 1
fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:symbolize=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for name in "${targets[@]}"; do
  corpus=build/fuzz/corpus/$name
  artifacts=build/fuzz/artifacts/$name
  mkdir -p "$corpus" "$artifacts"
  log=build/fuzz/$name.log
  echo "fuzz: $name for ${seconds}s" >&2
  options=(-max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$artifacts/")
  if [[ -f fuzz/dictionaries/$name.dict ]]; then options+=(-dict="fuzz/dictionaries/$name.dict"); fi
  if ! build/fuzz/bin/${name}_fuzzer "${options[@]}" "$@" "$corpus" "fuzz/corpus/$name" \
      >"$log" 2>&1; then
    status=1
    grep -E "ERROR|SUMMARY|property broken|Test unit written" "$log" >&2 || tail -n 30 "$log" >&2
    echo "fuzz: $name found a fault; see $log" >&2
  fi
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  files=$(find "$corpus" -type f | wc -l)
  bytes=$(du -sb "$corpus" | cut -f1)
  echo "fuzz: $name: ${executions:-?} executions, corpus of $files inputs ($bytes bytes)"
done
exit "$status"

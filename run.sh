#!/usr/bin/env bash
# Sets up, builds the release configuration of qax-host and the module (only
# them: no tests, no benchmarks) and runs the command-line host (qax-host)
# with the arguments given, in the caller's folder; without arguments it
# gives a short tour of the module on a sample ontology.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
(
  cd "$root"
  scripts/setup.sh
  targets=(--target qax-host QAXOntologyItem)
  # One line on standard error while there is something to build; quiet when
  # all is built. The whole log when configuring or building fails.
  if [[ ! -f build/release/build.ninja ]] ||
    ! cmake --build --preset release "${targets[@]}" -- -n 2>/dev/null | grep -q 'no work to do'; then
    echo "building qax-host (first run takes a minute)…" >&2
  fi
  if ! log=$( (if [[ ! -f build/release/build.ninja ]]; then cmake --preset release; fi) 2>&1 &&
    cmake --build --preset release "${targets[@]}" 2>&1); then
    printf '%s\n' "$log" >&2
    exit 1
  fi
)
# The vocabularies that ./test.sh fetches, unless the caller names others: a
# loaded group's class that the ontology lacks is then answered with the
# --ontology file that has it. The program itself knows no folder of this tree.
vocabularies="$root/.cache/vocabularies/package/ontologies"
if [[ -z "${QAX_HOST_VOCABULARIES+set}" && -d "$vocabularies" ]]; then
  export QAX_HOST_VOCABULARIES="$vocabularies"
fi
exec "$root/build/release/bin/qax-host" "$@"

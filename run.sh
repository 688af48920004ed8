#!/usr/bin/env bash
# Sets up, builds the release configuration and runs the command-line host
# (qax-host) with the arguments given, in the caller's folder; without
# arguments it gives a short tour of the module on a sample ontology.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
(
  cd "$root"
  scripts/setup.sh
  # Quiet when all is well; the whole log when configuring or building fails.
  if ! log=$(cmake --preset release 2>&1 && cmake --build --preset release 2>&1); then
    printf '%s\n' "$log" >&2
    exit 1
  fi
)
exec "$root/build/release/bin/qax-host" "$@"

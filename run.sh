#!/usr/bin/env bash
# Sets up, builds the release configuration and runs the command-line host
# (qax-host) with the arguments given; without arguments it shows the module's
# channel type.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release >/dev/null
exec build/release/bin/qax-host "$@"

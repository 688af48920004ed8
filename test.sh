#!/usr/bin/env bash
# Sets up, builds the developer configuration and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
if [[ -x scripts/fetch-vocabularies.sh ]]; then scripts/fetch-vocabularies.sh; fi
cmake --preset dev >/dev/null
cmake --build --preset dev
ctest --preset dev -j "$(nproc)"

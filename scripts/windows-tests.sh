#!/usr/bin/env bash
# Builds the windows preset (MinGW-w64 DLLs) and runs its tests under Wine,
# headless, in a fresh Wine prefix inside the build folder, then checks what
# the module's DLL exports. Needs scripts/setup.sh --windows first.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset windows >/dev/null
cmake --build --preset windows

export WINEDEBUG=-all
export WINEPREFIX="$PWD/build/windows/wineprefix"
# Bring the prefix up once, before the tests start programs in it side by
# side, and keep one Wine server for all of them; stop it however this ends.
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wineserver -k >/dev/null 2>&1 || true
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
wineserver -p
wineboot --init >/dev/null 2>&1
ctest --preset windows -j "$(nproc)"
scripts/check-dll-exports.sh

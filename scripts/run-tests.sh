#!/usr/bin/env bash
# Builds Oradel with its tests and runs the whole suite.
# Extra CMake arguments come from ORADEL_CMAKE_ARGS, the build folder from ORADEL_BUILD_DIR.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh" --tests

build="${ORADEL_BUILD_DIR:-$root/build-tests}"
# shellcheck disable=SC2086
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${ORADEL_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"

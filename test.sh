#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
# The presets are in CMakePresets.json; "test" builds in build/.
cmake --preset test > /dev/null
cmake --build --preset test
ctest --preset test -j "$(nproc)"

#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them all. The headless ones
# build without Qt Widgets (bench-build/); the editing benchmark of the main
# window builds with the windows (bench-build-ui/).
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake --preset bench > /dev/null
cmake --build --preset bench
cmake --preset bench-ui > /dev/null
cmake --build --preset bench-ui
for b in bench-build/bench/*Bench bench-build-ui/bench/EditBench; do
  echo "== $(basename "$b")"
  QT_QPA_PLATFORM=offscreen "$b" "$@"
done

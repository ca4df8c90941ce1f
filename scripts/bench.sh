#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them all. The headless ones
# build without Qt Widgets (bench-build/); the editing benchmark of the main
# window builds with the windows (bench-build-ui/).
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B bench-build -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCORVINAL_BENCH=ON -DCORVINAL_TESTS=OFF -DCORVINAL_UI=OFF > /dev/null
cmake --build bench-build
cmake -S . -B bench-build-ui -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCORVINAL_BENCH=ON -DCORVINAL_TESTS=OFF -DCORVINAL_UI=ON > /dev/null
cmake --build bench-build-ui --target EditBench
for b in bench-build/bench/*Bench bench-build-ui/bench/EditBench; do
  echo "== $(basename "$b")"
  QT_QPA_PLATFORM=offscreen "$b" "$@"
done

#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them all.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B bench-build -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCORVINAL_BENCH=ON -DCORVINAL_TESTS=OFF -DCORVINAL_UI=OFF > /dev/null
cmake --build bench-build
for b in bench-build/bench/*Bench; do
  echo "== $(basename "$b")"
  QT_QPA_PLATFORM=offscreen "$b" "$@"
done

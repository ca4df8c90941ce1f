#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for FUZZ_SECONDS (default 60)
# from its seed corpus. A crash fails the run and leaves the input in fuzz-build/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-60}"

./scripts/install-deps.sh
cmake --preset fuzz > /dev/null
cmake --build --preset fuzz

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
for target in fuzz-build/fuzz/*Fuzzer; do
  name=$(basename "$target")
  seeds="fuzz/corpus/$name"
  work="fuzz-build/corpus/$name"
  mkdir -p "$work"
  echo "== $name for ${seconds}s"
  (cd fuzz-build && "../$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
     -print_final_stats=1 "../$work" "../$seeds")
done

#!/usr/bin/env bash
# Builds every fuzz target (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs each for SECONDS.
# Fails on any crash, leak, sanitizer report or hang.
#   fuzz/run.sh [SECONDS]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
dir=build-fuzz
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DTAGVANE_BUILD_FUZZ=ON -DTAGVANE_BUILD_UI=OFF -DTAGVANE_BUILD_BENCH=OFF >/dev/null
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
status=0
for src in fuzz/fuzz_*.cpp; do
  name=$(basename "$src" .cpp)
  cmake --build "$dir" -j 2 --target "$name"
  corpus="$dir/corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "fuzz/seeds/$name" ] && seeds=("fuzz/seeds/$name")
  echo "== $name for ${seconds}s"
  if ! "$dir/fuzz/$name" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
      -print_final_stats=1 "$corpus" "${seeds[@]}"; then
    echo "!! $name failed" >&2
    status=1
  fi
done
exit $status

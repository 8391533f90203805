#!/usr/bin/env bash
# Builds the libFuzzer targets with clang++ (ASan and UBSan on) and runs each
# for PLYSTRAND_FUZZ_SECONDS seconds (30 by default), seeded from
# tests/fuzz/seeds/<target>/ and the folders listed in
# tests/fuzz/seeds/<target>.dirs. Usage: scripts/run-fuzz.sh [target ...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${PLYSTRAND_FUZZ_SECONDS:-30}
if ! ls tests/fuzz/fuzz_*.cpp >/dev/null 2>&1; then
  echo "fuzz: no targets"
  exit 0
fi
if ! command -v clang++ >/dev/null 2>&1 || [ ! -e "$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a)" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update && apt-get install -y --no-install-recommends clang libclang-rt-dev || \
    apt-get install -y --no-install-recommends clang
fi
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DPLYSTRAND_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "$(nproc)"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in tests/fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for t in "${targets[@]}"; do
  mkdir -p "$scratch/$t"
  if [ -d "tests/fuzz/seeds/$t" ]; then cp -r "tests/fuzz/seeds/$t/." "$scratch/$t/"; fi
  # seeds/<target>.dirs lists folders of test data that seed the target too.
  if [ -f "tests/fuzz/seeds/$t.dirs" ]; then
    while read -r d; do
      [ -n "$d" ] && [ -d "$d" ] && cp "$d"/* "$scratch/$t/" 2>/dev/null || true
    done < "tests/fuzz/seeds/$t.dirs"
  fi
  echo "fuzz: $t for ${seconds}s"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "./build-fuzz/tests/fuzz/$t" -max_total_time="$seconds" -rss_limit_mb=4096 \
    -artifact_prefix="$scratch/" "$scratch/$t" 2>&1 | tail -n 3
  rc=${PIPESTATUS[0]}
  if [ "$rc" -ne 0 ]; then
    echo "fuzz: $t failed (exit $rc)"
    ls "$scratch"/crash-* "$scratch"/leak-* "$scratch"/timeout-* 2>/dev/null || true
    exit 1
  fi
done
echo "fuzz: ${#targets[@]} targets clean"

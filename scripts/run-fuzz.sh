#!/usr/bin/env bash
# Builds the libFuzzer targets with clang++ (ASan and UBSan on) and runs each
# for PLYSTRAND_FUZZ_SECONDS seconds (30 by default), as many at once as there
# are cores, seeded from tests/fuzz/seeds/<target>/ and the folders listed in
# tests/fuzz/seeds/<target>.dirs. The build folder is PLYSTRAND_FUZZ_BUILD
# (build-fuzz by default; scripts/run-tests.sh passes its sanitizer build,
# which holds the targets beside the tests).
# Usage: scripts/run-fuzz.sh [target ...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${PLYSTRAND_FUZZ_SECONDS:-30}
build=${PLYSTRAND_FUZZ_BUILD:-build-fuzz}
if ! ls tests/fuzz/fuzz_*.cpp >/dev/null 2>&1; then
  echo "fuzz: no targets"
  exit 0
fi
if ! command -v clang++ >/dev/null 2>&1 || [ ! -e "$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a)" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update && apt-get install -y --no-install-recommends clang libclang-rt-dev || \
    apt-get install -y --no-install-recommends clang
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DPLYSTRAND_FUZZ=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in tests/fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# One target: its corpus, its run, its log; the exit status is the run's.
run_one() {
  local t=$1
  mkdir -p "$scratch/$t"
  if [ -d "tests/fuzz/seeds/$t" ]; then cp -r "tests/fuzz/seeds/$t/." "$scratch/$t/"; fi
  # seeds/<target>.dirs lists folders of test data that seed the target too.
  if [ -f "tests/fuzz/seeds/$t.dirs" ]; then
    while read -r d; do
      [ -n "$d" ] && [ -d "$d" ] && cp "$d"/* "$scratch/$t/" 2>/dev/null || true
    done < "tests/fuzz/seeds/$t.dirs"
  fi
  mkdir -p "$scratch/artifacts-$t"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "./$build/tests/fuzz/$t" -max_total_time="$seconds" -rss_limit_mb=4096 \
    -artifact_prefix="$scratch/artifacts-$t/" "$scratch/$t" >"$scratch/$t.log" 2>&1
}

jobs=$(nproc)
declare -A pids
failed=()
finish() {  # waits for target $1 and reports it
  local t=$1 rc=0
  wait "${pids[$t]}" || rc=$?
  echo "fuzz: $t for ${seconds}s: $(tail -n 1 "$scratch/$t.log")"
  if [ "$rc" -ne 0 ]; then
    echo "fuzz: $t failed (exit $rc)"
    tail -n 40 "$scratch/$t.log"
    ls "$scratch/artifacts-$t"/* 2>/dev/null || true
    failed+=("$t")
  fi
}
running=()
for t in "${targets[@]}"; do
  if [ ${#running[@]} -ge "$jobs" ]; then
    finish "${running[0]}"
    running=("${running[@]:1}")
  fi
  run_one "$t" &
  pids[$t]=$!
  running+=("$t")
done
for t in "${running[@]}"; do finish "$t"; done
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz: failed: ${failed[*]}"
  exit 1
fi
echo "fuzz: ${#targets[@]} targets clean"

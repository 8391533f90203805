#!/usr/bin/env bash
# Installs what is missing, builds from clean and runs every test: first the
# normal build (in build-tests), then the test suites under AddressSanitizer
# and UBSan (in build-asan). Both folders are its own: build/, where the main
# job writes, is left alone.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

rm -rf build-tests build-asan
# No debug information: a quarter of the compile time, and no one reads it here.
cmake -S . -B build-tests -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG" "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG"
cmake --build build-tests -j "$jobs"
(cd build-tests && ctest --output-on-failure -j "$jobs")

# Sanitizer build with clang (it also checks calls through mistyped function
# pointers): the tests and the libFuzzer targets from one build under
# AddressSanitizer and UBSan; cases tagged Slow stay in the normal run.
# -O1 with line tables only: quicker to build, and reports still name lines;
# the test programs' own sources unoptimised (they are half the build and run
# once; the library they check stays at -O1).
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLYSTRAND_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only -DNDEBUG" \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only -DNDEBUG" \
  -DPLYSTRAND_TEST_CXX_FLAGS=-O0
cmake --build build-asan -j "$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$jobs" -E 'Slow')

# Fuzz targets, each for a short run, from the same build.
PLYSTRAND_FUZZ_BUILD=build-asan bash scripts/run-fuzz.sh

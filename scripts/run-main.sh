#!/usr/bin/env bash
# Installs what is missing, builds the library and the stand-in host program,
# and runs the main command script on the stand-in host.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPLYSTRAND_BUILD_TESTS=OFF -DPLYSTRAND_BUILD_BENCH=OFF
cmake --build build -j "$(nproc)" --target plystrand morvek-stub plystrand_demo
mkdir -p build/run
cd build/run
../morvek-stub ../../examples/main.kps

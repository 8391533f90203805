#!/usr/bin/env bash
# Installs what is missing, builds the library and runs the main job.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPLYSTRAND_BUILD_TESTS=OFF -DPLYSTRAND_BUILD_BENCH=OFF
cmake --build build -j "$(nproc)" --target plystrand_demo
mkdir -p build/run
./build/examples/plystrand_demo build/run

#!/usr/bin/env bash
# Installs what is missing, builds the library and the stand-in host program,
# runs the main command script on the stand-in host, and shows what the run
# wrote.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPLYSTRAND_BUILD_TESTS=OFF -DPLYSTRAND_BUILD_BENCH=OFF
cmake --build build -j "$(nproc)" --target plystrand morvek-stub plystrand_demo
# A fresh folder, so that what is listed below is what this run made.
rm -rf build/run
mkdir -p build/run
cd build/run
status=0
../morvek-stub ../../examples/main.kps || status=$?

# What the run made: the message file(s) the script wrote, then every file
# with its size.
shopt -s nullglob
for msg in *.msg; do
  echo
  echo "== message file build/run/$msg"
  cat "$msg"
done
echo
echo "== files written in build/run"
find . -type f -printf '%-32P %12s bytes\n' | sort
exit "$status"

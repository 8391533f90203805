#!/usr/bin/env bash
# Installs the Debian packages the build and its tests need, only when one is
# missing: clang builds the sanitizer and fuzzing pass; written files are
# read back by ezdxf, OpenCASCADE, admesh and xmllint.
set -euo pipefail
pkgs=(zlib1g-dev libexpat1-dev libgtest-dev libgmock-dev libbenchmark-dev cmake ninja-build g++
      clang libclang-rt-dev python3-ezdxf occt-draw admesh libxml2-utils)
missing=()
for p in "${pkgs[@]}"; do
  # The status as a whole (grep -q on a pipe may close it early, which
  # pipefail counts as a failure).
  status="$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)"
  [[ $status == *"install ok installed"* ]] || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi

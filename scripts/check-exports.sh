#!/usr/bin/env bash
# Writes the IGES, DXF and laser projector files of a plate and of a
# hemisphere drape (the ExportFiles cases of the given test program) and has
# each read by a reader that is not ours: the DXF files by ezdxf, the IGES
# files by OpenCASCADE's DRAW, the laser files by a small grammar check.
# Usage: check-exports.sh PATH/TO/test_layuplib
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
test_bin="$1"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT

PLYSTRAND_EXPORT_DIR="$dir" "$test_bin" --gtest_filter='ExportFiles.*' >"$dir/gtest.log" || {
  cat "$dir/gtest.log"; exit 1; }

# Debian's own python3, where python3-ezdxf lives.
/usr/bin/python3 "$here/tests/readers/check_dxf.py" "$dir"
/usr/bin/python3 "$here/tests/readers/check_laser.py" "$dir"/*.vk

# check, entities and read_iges.
source "$here/scripts/iges-draw.sh"

expect() { awk -v k="$1" '$1 == k {print $2}' "$dir/expect.txt"; }

for tag in plate dome; do
  read -r e w f v <<<"$(read_iges "$dir/${tag}_flat.igs")"
  check "$tag flat IGES edges" "$e" "$(expect "$tag.flat.edges")"
  check "$tag flat IGES valid" "$v" 1
  read -r e w f v <<<"$(read_iges "$dir/${tag}_draped.igs")"
  check "$tag draped IGES edges" "$e" "$(entities "$dir/${tag}_draped.igs" 110)"
  check "$tag draped IGES wires" "$w" "$(entities "$dir/${tag}_draped.igs" 102)"
  check "$tag draped IGES valid" "$v" 1
  read -r e w f v <<<"$(read_iges "$dir/${tag}_mould.igs")"
  check "$tag mould IGES faces" "$f" "$((2 * $(expect "$tag.facets")))"
  check "$tag mould IGES valid" "$v" 1
done
exit $fail

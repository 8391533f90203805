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

# DRAW's plug-in loader wants the unversioned library names.
libs="$dir/libs"
mkdir -p "$libs"
for l in TKTopTest TKXSDRAW; do
  so="$(ldconfig -p | awk -v n="lib$l.so.7" '$1 == n {print $NF; exit}')"
  [ -n "$so" ] || { echo "lib$l.so.7 not found (occt-draw missing?)"; exit 1; }
  ln -s "$so" "$libs/lib$l.so"
done

expect() { awk -v k="$1" '$1 == k {print $2}' "$dir/expect.txt"; }
# Number of entities of an IGES type, from the file's directory section.
entities() { awk -v t="$2" 'substr($0, 73, 1) == "D" && NR % 2 == 0 && ($1 + 0) == t' "$1" | wc -l; }

# Reads one IGES file; prints "<edges> <wires> <faces> <valid>".
read_iges() {
  cat >"$dir/check.tcl" <<TCL
pload MODELING XSDRAW
igesread $1 r *
puts [nbshapes r]
puts [checkshape r]
TCL
  local out
  out="$(cd "$dir" && LD_LIBRARY_PATH="$libs${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" \
    occt-draw-7.6 -b -f "$dir/check.tcl" 2>&1)"
  local valid=0
  grep -q "This shape seems to be valid" <<<"$out" && valid=1
  echo "$(awk '$1 == "EDGE" {print $3}' <<<"$out") $(awk '$1 == "WIRE" {print $3}' <<<"$out")" \
    "$(awk '$1 == "FACE" {print $3}' <<<"$out") $valid"
}

fail=0
check() {  # name, got, wanted
  if [ "$2" != "$3" ]; then echo "FAIL $1: got '$2', wanted '$3'"; fail=1; else echo "ok $1: $2"; fi
}
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

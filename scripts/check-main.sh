#!/usr/bin/env bash
# Runs the main command script through the stand-in host in a scratch folder
# and has the files it writes (the cylindrical panel of 63 nodes and 48
# quads, four layup plies) read by readers that are not ours: the DXF files
# by ezdxf, the IGES files by OpenCASCADE's DRAW, the
# STL files and the VFP file's mesh section by admesh, the XML layup by
# xmllint and expat, the laser, BACON and neutral files by the project's
# layout checkers; the failure indices in the saved database are recomputed
# from the fixture's stresses; then the solver, STL and neutral files are
# read back into an empty model through the stand-in host.
# Usage: check-main.sh PATH/TO/morvek-stub PATH/TO/libplystrand.so
set -euo pipefail
# check_dxf is imported below: no bytecode cache in the source tree.
export PYTHONDONTWRITEBYTECODE=1
here="$(cd "$(dirname "$0")/.." && pwd)"
stub="$(realpath "$1")"
lib="$(realpath "$2")"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
run="$dir/run"
mkdir "$run"
(cd "$run" && "$stub" --lib "$lib" "$here/examples/main.kps" >"$dir/main.log") || {
  cat "$dir/main.log"; exit 1; }

# check, entities and read_iges.
source "$here/scripts/iges-draw.sh"

# ---- DXF: the draped pattern's boundary ring of 28 segments and its fibre
# polylines; the flat outline of 6 plotted points with both axes, as
# polylines and as fitted splines.
/usr/bin/python3 - "$run" "$here/tests/readers" <<'PY' || fail=1
import os, sys
sys.path.insert(0, sys.argv[2])
import check_dxf
run = sys.argv[1]
check_dxf.check_draped(os.path.join(run, "draped.dxf"), 28)
exp = {"main.outlines": 1, "main.outline0.points": 6}
check_dxf.check_flat(os.path.join(run, "flat.dxf"), exp, "main")
check_dxf.check_spline(os.path.join(run, "spline.dxf"), 6)
print("ok DXF files read by ezdxf")
PY

# ---- IGES through DRAW.
read -r e w f v <<<"$(read_iges "$run/flat.igs")"
check "flat IGES edges (outline and two axes)" "$e" "$(entities "$run/flat.igs" 110)"
check "flat IGES valid" "$v" 1
read -r e w f v <<<"$(read_iges "$run/draped.igs")"
check "draped IGES edges" "$e" "$(entities "$run/draped.igs" 110)"
check "draped IGES wires" "$w" "$(entities "$run/draped.igs" 102)"
check "draped IGES valid" "$v" 1
read -r e w f v <<<"$(read_iges "$run/mould.igs")"
check "mould IGES faces (two per facet)" "$f" 192
check "mould IGES valid" "$v" 1

# ---- STL (text and binary) and the VFP mesh section through admesh: 96
# triangles, 28 free edges, one part, no degenerate facet, normals that
# agree with the vertex order; the panel's extent.
admesh_check() {  # label, file
  local out
  out="$(admesh --exact --normal-values "$2" 2>&1)"
  value() { awk -v k="$1" -F: 'index($0, k) == 1 {split($2, v, " "); print v[1]; exit}' <<<"$out"; }
  check "$1 facets" "$(value 'Number of facets')" 96
  check "$1 facets with one free edge" "$(value 'Facets with 1 disconnected edge')" 24
  check "$1 facets with two free edges" "$(value 'Facets with 2 disconnected edges')" 2
  check "$1 degenerate facets" "$(value 'Degenerate facets')" 0
  check "$1 normals against vertex order" "$(value 'Normals fixed')" 0
  check "$1 extent" "$(grep -E '^(Min|Max)' <<<"$out" | tr -s ' ' | tr '\n' ';')" \
    "Min X = -5.000000, Max X = 5.000000;Min Y = 0.000000, Max Y = 6.000000;Min Z = -1.339746, Max Z = 0.000000;"
}
admesh_check "text STL" "$run/panel.stl"
admesh_check "binary STL" "$run/panel-bin.stl"
check "binary STL size" "$(stat -c %s "$run/panel-bin.stl")" $((84 + 50 * 96))
awk '/^solid /{p=1} p{sub(/\r$/, ""); print} /^endsolid/{p=0}' "$run/draped.vfp" >"$dir/vfp.stl"
admesh_check "VFP mesh" "$dir/vfp.stl"

# ---- XML layup: well formed for two parsers; four plies.
xmllint --noout "$run/panel.xml" || fail=1
python3 -c 'import sys, xml.parsers.expat as e
p = e.ParserCreate()
with open(sys.argv[1], "rb") as f: p.ParseFile(f)' "$run/panel.xml" || fail=1
check "XML plies" "$(xmllint --xpath 'count(//Ply)' "$run/panel.xml")" 4

# ---- Laser, BACON and neutral files by their layout checkers.
python3 "$here/tests/readers/check_laser.py" "$run/flat.vk" "$run/layup.vk" || fail=1
# The two tape plies at the same angle share one BACON group.
python3 "$here/tests/readers/check_bacon.py" "$run/panel.bacon" --groups 3 --eta 144 --offset 100 \
  --elements 48 || fail=1
python3 "$here/tests/readers/check_neutral.py" "$run/panel.neu" --nodes 63 --elements 48 \
  --layers 4 || fail=1

# ---- The failure run's Tsai-Wu indices recomputed from the fixture's
# stresses, and both sorts, in the database the script saved.
python3 "$here/tests/readers/check_results.py" "$here/examples/panel-db.txt" "$run/panel.db" || fail=1

# ---- The solver, ANSYS, STL and neutral files read back into an empty
# model, each giving the panel's mesh again (STL: one triangle a facet).
cp "$run"/panel.bdf "$run"/database.bdf "$run"/panel.cdb "$run"/panel.stl "$run"/panel.neu "$dir/"
(cd "$dir" && "$stub" --lib "$lib" "$here/tests/readers/main_readback.kps") || fail=1
exit $fail

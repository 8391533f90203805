#!/usr/bin/env bash
# Runs the queries command script through the stand-in host and has the
# files it writes read by readers that are not ours: the neutral and BACON
# files by small checkers of their layouts, the VFP mesh section, cut out as
# an STL file, by admesh (facet count, degenerate facets, normals that
# disagree with the vertex order).
# Usage: check-written.sh PATH/TO/morvek-stub PATH/TO/libplystrand.so
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
stub="$1"
lib="$2"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
(cd "$dir" && "$stub" --lib "$lib" "$here/tests/scripts/queries.kps" >"$dir/stub.log") || {
  cat "$dir/stub.log"; exit 1; }

fail=0
# 4 x 2 plate: 15 nodes, 8 quads, each under three layup plies (P1, P2, P1:
# three groups of eight elements, ids offset by 100).
python3 "$here/tests/readers/check_neutral.py" "$dir/q.neu" --nodes 15 --elements 8 --layers 3 || fail=1
python3 "$here/tests/readers/check_bacon.py" "$dir/q.bacon" --groups 3 --eta 24 --offset 100 \
  --elements 8 || fail=1

# The mesh section, "solid" to "endsolid" (whose line ends in CR LF).
awk '/^solid /{p=1} p{sub(/\r$/, ""); print} /^endsolid/{p=0}' "$dir/q.vfp" >"$dir/q.stl"
out="$(admesh --exact --normal-values "$dir/q.stl" 2>&1)"
value() { awk -v k="$1" -F: 'index($0, k) == 1 {split($2, v, " "); print v[1]; exit}' <<<"$out"; }
check() {  # name, got, wanted
  if [ "$2" != "$3" ]; then echo "FAIL $1: got '$2', wanted '$3'"; fail=1; else echo "ok $1: $2"; fi
}
check "VFP facets" "$(value 'Number of facets')" 16
check "VFP degenerate facets" "$(value 'Degenerate facets')" 0
check "VFP normals against vertex order" "$(value 'Normals fixed')" 0
check "VFP endsolid line" "$(grep -c $'^endsolid P1\r$' "$dir/q.vfp")" 1
exit $fail

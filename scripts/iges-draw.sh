# Sourced by the checkers of written files: IGES files read by OpenCASCADE's
# DRAW, and a pass/fail line per check. The caller sets `dir` (a scratch
# folder) and reads `fail` at the end.

fail=0
check() {  # name, got, wanted
  if [ "$2" != "$3" ]; then echo "FAIL $1: got '$2', wanted '$3'"; fail=1; else echo "ok $1: $2"; fi
}

# DRAW's plug-in loader wants the unversioned library names.
libs="$dir/libs"
mkdir -p "$libs"
for l in TKTopTest TKXSDRAW; do
  # awk reads to the end (the first match kept): leaving early would kill
  # ldconfig with SIGPIPE, and the script with it under pipefail.
  so="$(ldconfig -p | awk -v n="lib$l.so.7" '$1 == n && so == "" {so = $NF} END {print so}')"
  [ -n "$so" ] || { echo "lib$l.so.7 not found (occt-draw missing?)"; exit 1; }
  ln -sf "$so" "$libs/lib$l.so"
done

# Number of entities of an IGES type, from the file's directory section.
entities() { awk -v t="$2" 'substr($0, 73, 1) == "D" && NR % 2 == 0 && ($1 + 0) == t' "$1" | wc -l; }

# Reads one IGES file; prints "<edges> <wires> <faces> <valid>", and what
# DRAW said on standard error when it did not find a valid shape.
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
  [ "$valid" = 1 ] || printf '%s\n' "$out" | tail -n 20 >&2
  echo "$(awk '$1 == "EDGE" {print $3}' <<<"$out") $(awk '$1 == "WIRE" {print $3}' <<<"$out")" \
    "$(awk '$1 == "FACE" {print $3}' <<<"$out") $valid"
}

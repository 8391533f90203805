#!/usr/bin/env bash
# Writes the XML documents of the XML writer tests of the given test program
# and has each parsed by two readers that are not ours: xmllint and
# python3's expat. Usage: check-xml.sh PATH/TO/test_fileformats
set -euo pipefail
test_bin="$1"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT

PLYSTRAND_EXPORT_DIR="$dir" "$test_bin" --gtest_filter='XmlLightWriter.*:FiberSimAnsysWriter.*' \
  >"$dir/gtest.log" || { cat "$dir/gtest.log"; exit 1; }

shopt -s nullglob
files=("$dir"/*.xml)
[ ${#files[@]} -gt 0 ] || { echo "no XML files written"; exit 1; }
for f in "${files[@]}"; do
  xmllint --noout "$f"
  python3 -c 'import sys, xml.parsers.expat as e
p = e.ParserCreate()
with open(sys.argv[1], "rb") as f: p.ParseFile(f)' "$f"
  echo "ok $(basename "$f")"
done

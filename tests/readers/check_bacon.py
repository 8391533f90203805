#!/usr/bin/env python3
"""Reads a BACON file by its sections alone and checks it: the title line,
the .PLI, .LAM and .ETA sections, groups numbered 1, 2, ... naming every
layup ply once in ascending order, and each .ETA line's signed group.

Usage: check_bacon.py FILE --groups G --eta N --offset K --elements E
The element lines must carry ids K+1 .. K+E. Exit 0 when every check
holds, 1 otherwise."""
import argparse
import re
import sys

failures = []


def fail(msg):
    failures.append(msg)
    print("FAIL", msg)


NUM = r"-?[0-9.]+(?:e[-+]?\d+)?"
PLI = re.compile(r"^     I (\d+) ANGLE (%s) T (%s) MAT (-?\d+)$" % (NUM, NUM))
LAM = re.compile(r"^     LAM (\d+) PLI(( \d+)+)$")
ETA = re.compile(r"^     I (-?\d+) LAM (-?\d+) ANGLE (%s) DRAPE 0$" % NUM)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("file")
    ap.add_argument("--groups", type=int, required=True)
    ap.add_argument("--eta", type=int, required=True)
    ap.add_argument("--offset", type=int, required=True)
    ap.add_argument("--elements", type=int, required=True)
    a = ap.parse_args()
    with open(a.file, "rb") as f:
        lines = [l.rstrip("\r") for l in f.read().decode("ascii").split("\n")]
    if lines and lines[-1] == "":
        lines.pop()
    if not lines or lines[0] != "! BACON data produced by Plystrand":
        fail("title line %r" % lines[:1])
    sections = {}
    current = None
    for line in lines[1:]:
        if line in (".PLI", ".LAM", ".ETA"):
            current = line
            if current in sections:
                fail("section %s twice" % current)
            sections[current] = []
        elif current is None:
            fail("line outside a section: %r" % line)
        else:
            sections[current].append(line)
    if list(sections) != [".PLI", ".LAM", ".ETA"]:
        fail("sections %s" % list(sections))

    plies = []
    for line in sections.get(".PLI", []):
        m = PLI.match(line)
        if not m:
            fail(".PLI line %r" % line)
            continue
        plies.append(int(m.group(1)))
        if float(m.group(3)) <= 0:
            fail("ply %s thickness %s" % (m.group(1), m.group(3)))
    groups = {}
    listed = []
    for line in sections.get(".LAM", []):
        m = LAM.match(line)
        if not m:
            fail(".LAM line %r" % line)
            continue
        g = int(m.group(1))
        if g != len(groups) + 1:
            fail("group %d after %d groups" % (g, len(groups)))
        groups[g] = [int(x) for x in m.group(2).split()]
        listed += groups[g]
    if listed != sorted(listed) or sorted(listed) != sorted(plies):
        fail("groups list %s, plies %s" % (listed, plies))
    if len(groups) != a.groups:
        fail("%d groups, wanted %d" % (len(groups), a.groups))
    eta = sections.get(".ETA", [])
    if len(eta) != a.eta:
        fail("%d element lines, wanted %d" % (len(eta), a.eta))
    seen = {}
    for line in eta:
        m = ETA.match(line)
        if not m:
            fail(".ETA line %r" % line)
            continue
        eid, g = int(m.group(1)), int(m.group(2))
        if abs(g) not in groups:
            fail("element %d names group %d" % (eid, g))
        if not a.offset < eid <= a.offset + a.elements:
            fail("element id %d outside %d..%d" % (eid, a.offset + 1, a.offset + a.elements))
        seen.setdefault(abs(g), []).append(eid)
    # Each group's block follows the group order.
    order = [abs(int(ETA.match(l).group(2))) for l in eta if ETA.match(l)]
    if order != sorted(order):
        fail("element blocks out of group order")
    print("%s: %d plies, %d groups, %d element lines: %s" % (
        a.file, len(plies), len(groups), len(eta), "ok" if not failures else "FAILED"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Reads a host neutral file (revision 2.5) by its card layout alone and
checks it: header columns, the data cards each packet's KC announces, the
16-column reals, the summary counts, N1 = 3n of the laminate packets with
their KC, and that elements name written nodes.

Usage: check_neutral.py FILE --nodes N --elements E [--layers n]
Exit 0 when every check holds, 1 otherwise (each failure printed)."""
import argparse
import re
import sys

REAL = re.compile(r"[ -]0\.\d{9}E[+-]\d{2,3}$")
failures = []


def fail(msg):
    failures.append(msg)
    print("FAIL", msg)


def header(line):
    """The nine integers of a header card, or None."""
    if len(line) != 66:
        return None
    fields = [line[0:2]] + [line[2 + 8 * k:10 + 8 * k] for k in range(8)]
    try:
        return [int(f) for f in fields]
    except ValueError:
        return None


def reals(card):
    if len(card) % 16 != 0:
        fail("real card of %d columns: %r" % (len(card), card))
        return []
    out = []
    for k in range(0, len(card), 16):
        field = card[k:k + 16]
        if not REAL.match(field):
            fail("not a 16-column real: %r" % field)
            continue
        out.append(float(field))
    return out


def ints8(card):
    if len(card) % 8 != 0:
        fail("integer card of %d columns: %r" % (len(card), card))
        return []
    return [int(card[k:k + 8]) for k in range(0, len(card), 8)]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("file")
    ap.add_argument("--nodes", type=int, required=True)
    ap.add_argument("--elements", type=int, required=True)
    ap.add_argument("--layers", type=int, default=None)
    a = ap.parse_args()
    with open(a.file, "rb") as f:
        lines = f.read().decode("ascii").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    lines = [l[:-1] if l.endswith("\r") else l for l in lines]

    packets = []  # (header ints, data cards)
    i = 0
    while i < len(lines):
        h = header(lines[i])
        if h is None:
            fail("line %d is not a header: %r" % (i + 1, lines[i]))
            break
        kc = h[3] if h[0] != 99 else 0  # the end packet's KC 1 has no card
        packets.append((h, lines[i + 1:i + 1 + kc]))
        if i + 1 + kc > len(lines):
            fail("packet %d id %d: %d cards announced, file ends" % (h[0], h[1], kc))
        i += 1 + kc

    types = [p[0][0] for p in packets]
    if types[:2] != [25, 26] or types[-1] != 99:
        fail("packet order: starts %s, ends %s" % (types[:2], types[-1:]))
    nodes = {}
    elems = {}
    props = set()
    summary = None
    for h, cards in packets:
        t, pid, iv, kc, n1 = h[0], h[1], h[2], h[3], h[4]
        # N fields that must be 0: title, nodes, elements, materials (N2 on),
        # summary (N3 on), properties (N3, N5), end.
        zero_from = {25: 4, 1: 4, 2: 4, 99: 4, 3: 5, 26: 6}.get(t)
        if zero_from is not None and any(h[zero_from:]):
            fail("packet %d id %d: N fields %s" % (t, pid, h[4:]))
        if t == 4 and (h[6] != 0 or h[8] != 0):
            fail("property %d: N fields %s" % (pid, h[4:]))
        if t == 26:
            summary = h
        elif t == 1:
            if kc != 2 or cards[1] != "0G":
                fail("node %d: KC %d, second card %r" % (pid, kc, cards[1:2]))
            xyz = reals(cards[0])
            if len(xyz) != 3:
                fail("node %d: %d coordinates" % (pid, len(xyz)))
            nodes[pid] = xyz
        elif t == 2:
            if kc != 2 + (1 if n1 else 0):
                fail("element %d: KC %d" % (pid, kc))
            first = cards[0]
            count, _config, prop, zero = ints8(first[:32])
            if reals(first[32:]) != [0.0, 0.0, 0.0] or zero != 0 or prop != pid:
                fail("element %d: first card %r" % (pid, first))
            allowed = {4: (4, 8), 3: (3, 6)}.get(iv, ())
            if count not in allowed:
                fail("element %d: %d nodes with shape %d" % (pid, count, iv))
            ids = ints8(cards[1])
            if len(ids) != count:
                fail("element %d: %d node ids for %d nodes" % (pid, len(ids), count))
            elems[pid] = ids
        elif t == 3:
            if iv != 12 or n1 % 3 != 0 or n1 < 3:
                fail("material %d: IV %d N1 %d" % (pid, iv, n1))
            n = n1 // 3
            if kc != (3 * n + 4) // 5 + 20:
                fail("material %d: KC %d for %d layers" % (pid, kc, n))
            values = [v for c in cards for v in reals(c)]
            if len(values) != 96 + n1:
                fail("material %d: %d reals, wanted %d" % (pid, len(values), 96 + n1))
            if any(values[:96]):
                fail("material %d: nonzero among the 96 leading reals" % pid)
            if len(cards) > 19 and len(reals(cards[19])) != 1:
                fail("material %d: card 20 does not hold the 96th value alone" % pid)
            for k in range(n):
                thick, _angle, mat = values[96 + 3 * k:99 + 3 * k]
                if thick <= 0 or mat != int(mat) or mat < 0:
                    fail("material %d layer %d: thickness %g number %g" % (pid, k + 1, thick, mat))
            if a.layers is not None and n != a.layers:
                fail("material %d: %d layers, wanted %d" % (pid, n, a.layers))
        elif t == 4:
            shape = {4: 4, 8: 4, 3: 3, 6: 3}.get(h[5])
            if pid in elems and (h[5] != len(elems[pid]) or h[4] != shape):
                fail("property %d: shape %d, %d nodes" % (pid, h[4], h[5]))
            if iv != pid + 100 or kc != 1 or h[7] != 1:
                fail("property %d: IV %d KC %d N4 %d" % (pid, iv, kc, h[7]))
            if reals(cards[0]) != [float(pid + 100)]:
                fail("property %d: card %r" % (pid, cards[0]))
            props.add(pid)

    if summary is None or summary[4] != len(nodes) or summary[5] != len(elems):
        fail("summary %s against %d nodes, %d elements" % (summary, len(nodes), len(elems)))
    if len(nodes) != a.nodes or len(elems) != a.elements:
        fail("%d nodes, %d elements; wanted %d, %d" % (len(nodes), len(elems), a.nodes, a.elements))
    for e, ids in elems.items():
        missing = [n for n in ids if n not in nodes]
        if missing:
            fail("element %d names unwritten nodes %s" % (e, missing))
    if props != set(elems):
        fail("property packets %s against elements %s" % (sorted(props), sorted(elems)))
    if a.layers is not None:
        mats = [p[0][1] - 100 for p in packets if p[0][0] == 3]
        if sorted(mats) != sorted(elems):
            fail("material packets for %s" % sorted(mats))
    print("%s: %d packets, %d nodes, %d elements: %s" % (
        a.file, len(packets), len(nodes), len(elems), "ok" if not failures else "FAILED"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

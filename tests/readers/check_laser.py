"""A small grammar check of the laser projector (VK) files: every file ends
with "EOD"; LAYER START/END and START/END pairs nest and carry the same
name; every "P n" is followed by exactly n lines of six reals.

Usage: check_laser.py FILE...
"""
import sys


def check(path):
    lines = open(path).read().split("\n")
    assert lines[-1] == "", "%s: no line end at the end" % path
    lines = lines[:-1]
    assert lines and lines[-1] == "EOD", "%s: not ended by EOD" % path
    stack = []
    k = 0
    groups = 0
    while k < len(lines):
        line = lines[k]
        where = "%s:%d" % (path, k + 1)
        if line.startswith("LAYER START "):
            assert not stack, where
            stack.append(("LAYER", line[12:]))
        elif line.startswith("LAYER END "):
            assert stack == [("LAYER", line[10:])], where
            stack.pop()
        elif line.startswith("START "):
            assert not stack or stack[-1][0] == "LAYER", where
            stack.append(("BLOCK", line[6:]))
        elif line.startswith("END "):
            assert stack and stack[-1] == ("BLOCK", line[4:]), where
            stack.pop()
        elif line.startswith("P "):
            assert stack and stack[-1][0] == "BLOCK", where
            n = int(line[2:])
            assert n >= 1, where
            for m in range(k + 1, k + 1 + n):
                fields = lines[m].split()
                assert len(fields) == 6, "%s:%d: %r" % (path, m + 1, lines[m])
                [float(f) for f in fields]
            k += n
            groups += 1
        elif line == "EOD":
            assert not stack, where
        else:
            raise AssertionError("%s: unexpected line %r" % (where, line))
        k += 1
    assert not stack, path
    assert groups, "%s: no point group" % path
    return groups


def main(paths):
    for p in paths:
        print("%s: %d point groups" % (p, check(p)))


if __name__ == "__main__":
    main(sys.argv[1:])

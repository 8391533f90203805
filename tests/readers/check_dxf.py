"""Reads the exported DXF files with ezdxf (an independent reader) and checks
them against the counts the writing test listed in expect.txt.

Usage: check_dxf.py DIR
"""
import os
import sys

from ezdxf import recover


def expectations(folder):
    out = {}
    with open(os.path.join(folder, "expect.txt")) as f:
        for line in f:
            key, value = line.split()
            out[key] = int(value)
    return out


def read(path):
    doc, auditor = recover.readfile(path)
    if auditor.has_errors:
        raise AssertionError("%s: audit errors %s" % (path, [str(e) for e in auditor.errors]))
    return doc


def by_layer(doc):
    layers = {}
    for e in doc.modelspace():
        layers.setdefault(e.dxf.layer, []).append(e)
    return layers


def close(a, b, tol=1e-5):
    return all(abs(x - y) <= tol for x, y in zip(a, b))


def check_draped(path, segments):
    layers = by_layer(read(path))
    bound = layers["Ply_bound"]
    assert len(bound) == 1, path
    pts = [v.dxf.location for v in bound[0].vertices]
    assert len(pts) == segments + 1, (path, len(pts), segments)
    assert close(pts[0], pts[-1]), path
    for name in ("Ply_princ_warp", "Ply_princ_fill", "Ply_warp", "Ply_fill"):
        for e in layers.get(name, []):
            assert e.dxftype() == "POLYLINE" and e.is_3d_polyline, (path, name)
            assert len(e.vertices) >= 1, (path, name)
    assert layers.get("Ply_princ_warp") and layers.get("Ply_princ_fill"), path


def check_flat(path, exp, tag):
    layers = by_layer(read(path))
    outlines = layers["Ply"]
    assert len(outlines) == exp[tag + ".outlines"], path
    for k, e in enumerate(outlines):
        assert e.is_closed, path
        assert len(e.vertices) == exp["%s.outline%d.points" % (tag, k)], (path, k)
    for name in ("Ply_princ_warp", "Ply_princ_fill"):
        (axis,) = layers[name]
        assert not axis.is_closed and len(axis.vertices) == 2, (path, name)


def check_spline(path, points):
    # Without a version the file reads as R12, which has no SPLINE: read a
    # copy that declares R2000 in its empty header.
    text = open(path).read().replace("2  \nHEADER\n", "2  \nHEADER\n9\n$ACADVER\n1\nAC1015\n", 1)
    copy = path + ".r2000.dxf"
    with open(copy, "w") as f:
        f.write(text)
    splines = [e for e in read(copy).modelspace() if e.dxftype() == "SPLINE"]
    os.remove(copy)
    assert splines, path
    fits = 0
    for k, s in enumerate(splines):
        n = s.fit_point_count()
        order = 3 if n >= 3 else 2
        assert s.dxf.degree == order - 1, (path, k)
        assert s.control_point_count() == n, (path, k)
        knots = list(s.knots)
        assert len(knots) == n + order, (path, k)
        assert knots[:order] == [0.0] * order and knots[-order:] == [float(n - order + 1)] * order
        assert close(s.control_points[0], s.fit_points[0]), (path, k)
        assert close(s.control_points[-1], s.fit_points[-1]), (path, k)
        if k:  # the chain meets at the corners
            assert close(s.fit_points[0], splines[k - 1].fit_points[-1]), (path, k)
        fits += n - 1
    assert close(splines[0].fit_points[0], splines[-1].fit_points[-1]), path
    assert fits == points - 1, (path, fits, points)
    handles = [s.dxf.handle for s in splines]
    assert handles[0] == "101" and len(set(handles)) == len(handles), path


def main(folder):
    exp = expectations(folder)
    tags = sorted({k.split(".")[0] for k in exp})
    for tag in tags:
        check_draped(os.path.join(folder, tag + "_draped.dxf"), exp[tag + ".segments"])
        check_flat(os.path.join(folder, tag + "_flat.dxf"), exp, tag)
        check_spline(os.path.join(folder, tag + "_spline.dxf"), exp[tag + ".outline0.points"])
        print("DXF files of %s read by ezdxf" % tag)


if __name__ == "__main__":
    main(sys.argv[1])

"""Recomputes the Tsai-Wu failure indices of the main script's failure run
from the database fixture's layer stresses and compares them with what the
run wrote into the saved stand-in database: per element and layer, and the
worst over the layers. Then the two sorted copies of the stresses (by
layup ply and by global ply id): on the panel every element holds the same
four plies, so sorted layer k carries the fixture's layer k.

The layer stresses are in the plies' own axes; per layer the allowables of
its material (Xt Xc Yt Yc S12 and the interaction term F12, 0 here):
    FI = F1 s1 + F2 s2 + F11 s1^2 + F22 s2^2 + F66 t12^2 + 2 F12 s1 s2
with F1 = 1/Xt - 1/Xc, F11 = 1/(Xt Xc), F2 and F22 likewise, F66 = 1/S12^2.

Usage: check_results.py FIXTURE SAVED"""
import shlex
import sys

# The script's allowables, per layer of the panel's stack (twill, tape,
# tape, twill).
TWILL = (600.0, 500.0, 600.0, 500.0, 80.0, 0.0)
TAPE = (1500.0, 1200.0, 50.0, 150.0, 70.0, 0.0)
LAYERS = {1: TWILL, 2: TAPE, 3: TAPE, 4: TWILL}


def values(path, primary, secondary):
    """{(layer id, element id): [values]} of one result."""
    out = {}
    with open(path) as f:
        for line in f:
            if not line.startswith("value "):
                continue
            w = shlex.split(line)
            if w[3] != primary or w[4] != secondary:
                continue
            out[(int(w[5]), int(w[7]))] = [float(v) for v in w[8:]]
    return out


def tsai_wu(stress, allow):
    xt, xc, yt, yc, s12, f12 = allow
    s1, s2, t12 = stress[0], stress[1], stress[3]
    f1, f2 = 1 / xt - 1 / xc, 1 / yt - 1 / yc
    f11, f22, f66 = 1 / (xt * xc), 1 / (yt * yc), 1 / (s12 * s12)
    return f1 * s1 + f2 * s2 + f11 * s1 * s1 + f22 * s2 * s2 + f66 * t12 * t12 + 2 * f12 * s1 * s2


def close(a, b):
    return abs(a - b) <= 1e-5 * max(1.0, abs(b))


def main(fixture, saved):
    stresses = values(fixture, "Stress Tensor", "XX")
    per_layer = values(saved, "Failure Indices*", "TsaiWu Stress (panel)")
    worst = values(saved, "Failure Indices (Worst)*", "TsaiWu Stress (panel)")
    elements = sorted({e for (_, e) in stresses})
    assert len(elements) == 48, len(elements)
    # The run's per-layer results sit on layers of its own, one per stack
    # position in order: match them by sorting.
    run_layers = sorted({l for (l, _) in per_layer})
    assert len(run_layers) == 4, run_layers
    assert len(worst) == 48, len(worst)
    bad = 0
    for e in elements:
        fis = [tsai_wu(stresses[(k, e)], LAYERS[k]) for k in (1, 2, 3, 4)]
        for k, lid in enumerate(run_layers):
            got = per_layer[(lid, e)][0]
            if not close(got, fis[k]):
                print("FAIL element %d layer %d: %g, recomputed %g" % (e, k + 1, got, fis[k]))
                bad += 1
        (got,) = [v[0] for (l, el), v in worst.items() if el == e]
        if not close(got, max(fis)):
            print("FAIL element %d worst: %g, recomputed %g" % (e, got, max(fis)))
            bad += 1
    print("Tsai-Wu indices of 48 elements x 4 layers and their worst: %s"
          % ("FAILED" if bad else "ok"))
    for secondary in ("XX (Sort-Layup)", "XX (Sort-GPlyID)"):
        sorted_values = values(saved, "Stress Tensor", secondary)
        layers = sorted({l for (l, _) in sorted_values})
        if len(layers) != 4 or len(sorted_values) != 192:
            print("FAIL %s: %d layers, %d values" % (secondary, len(layers), len(sorted_values)))
            bad += 1
            continue
        wrong = [(l, e) for (l, e), v in sorted_values.items()
                 if any(abs(a - b) > 1e-4 for a, b in zip(v, stresses[(layers.index(l) + 1, e)]))]
        print("%s: %s" % (secondary, "FAILED %s" % wrong[:4] if wrong else "ok"))
        bad += len(wrong)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))

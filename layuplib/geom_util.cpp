#include "layuplib/geom_util.h"

#include <cmath>

#include "layuplib/CKpCoord.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpMsg.h"

namespace {

CKpDirn diff(const CKpPoint* a, const CKpPoint* b) {
    CKpDirn d;
    d.set2pts(a, b);
    return d;
}

// The line parameter t where the line meets the plane; false when the line
// is parallel to it (its direction exactly perpendicular to the normal).
bool linePlaneParam(const CKpLine& line, const CKpPlane& plane, double* t) {
    const double den = plane.a * line.u.getx() + plane.b * line.u.gety() + plane.c * line.u.getz();
    if (den == 0.0) return false;
    const double num =
        plane.a * line.P.getx() + plane.b * line.P.gety() + plane.c * line.P.getz() + plane.d;
    *t = -num / den;
    return true;
}

}  // namespace

int midpt_2pt(const CKpPoint* a, const CKpPoint* b, CKpPoint* out) {
    if (!a || !b || !out) return -1;
    out->SetMid(a, b);
    return 0;
}

int compare_pt(const CKpPoint* a, const CKpPoint* b, double tol) {
    if (!a || !b) return 0;
    return (std::fabs(a->getx() - b->getx()) < tol && std::fabs(a->gety() - b->gety()) < tol &&
            std::fabs(a->getz() - b->getz()) < tol)
               ? 1
               : 0;
}

int nearby(const CKpPoint* a, const CKpPoint* b, double tol) {
    return compare_pt(a, b, tol);
}

int dist_line_point(const CKpPoint* a, const CKpPoint* b, const CKpPoint* p, double* dist) {
    if (!a || !b || !p) return -1;
    CKpLine line;
    line.Set2Points(a, b);
    double t;
    return line.DistPoint(p, &t, nullptr, dist);
}

int int_line_edge(CKpLine line, CKpPlane plane, CKpPoint* out) {
    double t;
    if (!linePlaneParam(line, plane, &t)) return 0;
    if (!(t >= 0.0 && t <= 1.0)) return 0;
    if (out) out->SetPointDirnValue(&line.P, &line.u, t);
    return 1;
}

int line_plane(CKpMsg* log, CKpLine line, CKpPlane plane, CKpPoint* out) {
    if (!out) return -1;
    double t;
    if (!linePlaneParam(line, plane, &t)) {
        if (log) log->Create(1, "Could not calculate intersection of line and plane.");
        return -1;
    }
    out->SetPointDirnValue(&line.P, &line.u, t);
    return 0;
}

double calc_area(const CKpPoint* a, const CKpPoint* b, const CKpPoint* c) {
    if (!a || !b || !c) return 0.0;
    CKpDirn n;
    n.Set3Points(a, b, c);
    return 0.5 * n.mag();
}

int calc_angle(const CKpPoint* p0, const CKpPoint* p1, const CKpPoint* p2, double* ang) {
    if (!p0 || !p1 || !p2 || !ang) return -1;
    *ang = ang_3pts(p0, p1, p2);
    return 0;
}

double ang_3pts(const CKpPoint* p0, const CKpPoint* p1, const CKpPoint* p2) {
    return ang_4pts(p0, p1, p0, p2);
}

double ang_4pts(const CKpPoint* a, const CKpPoint* b, const CKpPoint* c, const CKpPoint* d) {
    if (!a || !b || !c || !d) return 0.0;
    const CKpDirn u = diff(a, b);
    const CKpDirn v = diff(c, d);
    return u.Angle(&v);
}

double ang_2dirns(const CKpDirn* d1, const CKpDirn* d2) {
    if (!d1 || !d2) return 0.0;
    return d1->Angle(d2);
}

double ang_fac(const CKpPoint* p0, const CKpPoint* p1, const CKpPoint* f0, const CKpPoint* f1,
               const CKpPoint* f2) {
    if (!p0 || !p1 || !f0 || !f1 || !f2) return 0.0;
    CKpDirn ex, ey, ez;
    SetAxes3Points(f0, f1, f2, &ex, &ey, &ez);
    const CKpDirn v = diff(p0, p1);
    return std::atan2(ey.DotProduct(&v), ex.DotProduct(&v));
}

double ang_dn_elem(CKpMsg* log, CKpDirn d, CKpDirn normal, CKpDirn xaxis) {
    if (d.IsNull()) {
        if (log) log->Create(1, "Could not calculate angle on element, null dn.");
        return -1000.0;
    }
    CKpDirn ey;
    ey.setCrossProduct(&normal, &xaxis);
    if (ey.IsNull()) {
        if (log) log->Create(1, "Could not calculate angle on element, null local_y.");
        return -1000.0;
    }
    // Unit axes so that a reference direction or normal of any length gives
    // the true angle.
    CKpDirn ex = xaxis;
    ex.unitize();
    ey.unitize();
    return std::atan2(ey.DotProduct(&d), ex.DotProduct(&d));
}

void rotate_axis(const CKpPoint* p0, const CKpPoint* p1, const CKpPoint* p, CKpPoint* out,
                 double angle) {
    if (!p0 || !p1 || !p || !out) return;
    CKpDirn axis = diff(p0, p1);
    if (axis.IsNull()) return;
    axis.unitize();

    // 1. Work relative to p0.
    CKpPoint v = *p;
    v.AddXYZ(-p0->getx(), -p0->gety(), -p0->getz());

    // 2. Bring the axis onto +x: about x by -alpha into the xy plane, then
    //    about z by -beta onto x; rotate about x; undo both in reverse order.
    //    An axis within 1e-6 of the x axis is x itself (with its sense, so
    //    that an axis along -x still turns by the right-hand rule).
    const double ay = axis.gety(), az = axis.getz();
    const double r = std::sqrt(ay * ay + az * az);
    if (r <= 1e-6) {
        v.Rotate(0, axis.getx() < 0.0 ? -angle : angle);
    } else {
        const double alpha = std::atan2(az, ay);
        const double beta = std::atan2(r, axis.getx());
        v.Rotate(0, -alpha);
        v.Rotate(2, -beta);
        v.Rotate(0, angle);
        v.Rotate(2, beta);
        v.Rotate(0, alpha);
    }

    // 3. Back to the original position.
    v.AddXYZ(p0->getx(), p0->gety(), p0->getz());
    *out = v;
}

void rotate_dirn_dirn(const CKpDirn* axis, const CKpDirn* d, double angle, CKpDirn* out) {
    if (!axis || !d || !out || axis->IsNull()) return;
    CKpPoint origin, tip, pd, res;
    tip.Set(*axis);
    pd.Set(*d);
    rotate_axis(&origin, &tip, &pd, &res, angle);
    out->Set(res);
}

double ang_dn_coord(CKpDirn d, CKpCoord* frame) {
    CKpDirn axes[3];
    if (!frame || frame->axes(nullptr, axes) != 0) return -1000.0;
    return std::atan2(d.DotProduct(&axes[1]), d.DotProduct(&axes[0]));
}

CKpDirn dirn_ang(CKpFacet* facet, double angle) {
    return facet ? facet->GetDirn(angle) : CKpDirn();
}

double ang_dirn(CKpFacet* facet, CKpDirn d) {
    return facet ? facet->GetAngle(&d) : -1000.0;
}

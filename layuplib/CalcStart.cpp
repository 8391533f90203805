#include "layuplib/CalcStart.h"

#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLine.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpPlane.h"
#include "layuplib/angle_util.h"
#include "layuplib/facet_query.h"
#include "layuplib/geom_util.h"

namespace {

const double kMinMagnitude = 1e-6;
const double kFar = 1e12;

// Projects `p` along `dirn` onto the plane of `facet`. 0; -1 for a
// degenerate facet or a direction parallel to its plane.
int projectOnFacet(const CKpFacet* facet, const CKpPoint& p, const CKpDirn& dirn, CKpPoint& out) {
    CKpPlane plane;
    if (plane.Set3Points(facet->getCKpPoint(0), facet->getCKpPoint(1), facet->getCKpPoint(2)) != 0)
        return -1;
    CKpLine line;
    line.P = p;
    line.u = dirn;
    return line_plane(nullptr, line, plane, &out);
}

}  // namespace

int CalcStart(CKpMsg* msg, CKpFacetStore* facets, CKpPoint point, CKpDirn dirn, int fallback,
              int& facet, CKpPoint& start, int& side) {
    // 1. A direction too short to trust.
    if (dirn.mag() < kMinMagnitude) {
        if (msg)
            msg->Create(4,
                        "The application direction vector has a magnitude which is smaller than "
                        "the minimum allowable value of %g. Please define the application "
                        "direction more clearly.",
                        kMinMagnitude);
        return -1;
    }

    // 2. The wobble scales with the surface; no surface, no start.
    const double wobble = 0.002 * CalcDiagonalFacets(facets);
    if (wobble == 0.0) return -1;

    // 3. Along the line of sight, selected facets only.
    CKpLine line;
    line.P = point;
    line.u = dirn;
    int f = -1, s = 0;
    CKpPoint hit;
    if (CalcPointFacetsView(msg, facets, line, -kFar, kFar, wobble, 0, f, hit, s) != 0) {
        // 4. Missed: the nearest point along the segment, when allowed.
        f = -1;
        s = 0;
        if (fallback) facets->GetClosestPoint(point, dirn, &f, &hit, &s);
        if (f == -1 || !facets->pFac(f)) {
            facet = -1;
            if (msg)
                msg->Create(2, "Starting point not found on or near selected region of surface.");
            return -1;
        }
    }

    // 5. Just inside the facet, away from its edges.
    facets->pFac(f)->MoveToCentroid(&hit, 0.001);
    facet = f;
    start = hit;
    side = s;
    return 0;
}

int CalcStartDirn(CKpMsg* msg, const CKpFacet* facet, CKpPoint start, CKpDirn appl, CKpDirn ref,
                  double refang, int axstp, double wpwtang, double& warp, double& weft,
                  CKpPlane* warpPlane, CKpPlane* weftPlane) {
    // 1. Arguments.
    if (!facet) return -1;
    if (ref.mag() < kMinMagnitude) {
        if (msg)
            msg->Create(4,
                        "The reference direction vector has a magnitude which is smaller than the "
                        "minimum allowable value of %g. Please define the reference direction "
                        "more clearly.",
                        kMinMagnitude);
        return -1;
    }

    // 2. The rotation axis.
    CKpDirn normal, axis;
    switch (axstp) {
        case 0:
        case 1:
            facet->GetNormal(&normal);
            axis = normal;
            break;
        case 2:
            axis = appl;
            break;
        default:
            if (msg)
                msg->Create(4,
                            "The axis type of %d is currently unsupported. Please select another "
                            "axis type.",
                            axstp);
            return -1;
    }
    // The sense of every rotation follows the side the surface is seen from.
    const double sense = normal.DotProduct(&appl) < 0.0 ? 1.0 : -1.0;
    CKpPoint axisEnd;
    axisEnd.SetPointDirn(&start, &axis);

    // 3. The reference direction turned by the reference angle.
    CKpPoint turned;
    turned.SetPointDirn(&start, &ref);
    rotate_axis(&start, &axisEnd, &turned, &turned, sense * refang);

    // 4. The warp: projected along the application direction.
    CKpPoint warpPoint;
    if (projectOnFacet(facet, turned, appl, warpPoint) != 0) return -1;
    warp = facet->GetAngle(&start, &warpPoint);
    if (warpPlane) warpPlane->Set3Points(&start, &axisEnd, &warpPoint);

    // 5./6. The weft.
    CKpPoint weftPoint;
    if (axstp == 2) {
        CKpPoint weftTurned;
        rotate_axis(&start, &axisEnd, &turned, &weftTurned, -wpwtang);
        if (projectOnFacet(facet, weftTurned, appl, weftPoint) != 0) return -1;
        weft = facet->GetAngle(&start, &weftPoint);
    } else {
        weft = pi_pi(warp + sense * wpwtang);
        rotate_axis(&start, &axisEnd, &warpPoint, &weftPoint, sense * wpwtang);
    }

    // 7. The weft plane.
    if (weftPlane && weftPlane->Set3Points(&start, &axisEnd, &weftPoint) != 0) return -1;
    return 0;
}

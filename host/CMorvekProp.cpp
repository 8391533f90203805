// CMorvek: element properties and orientations (getProp, putProp).

#include <algorithm>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "host/CMorvek.h"
#include "host/MorvekHost.h"
#include "layuplib/CKpCoord.h"
#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpDirn.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpOrient.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/num_util.h"
#include "layuplib/store_or_free.h"

namespace {

constexpr double kDegToRad = 3.14159265358979323846 / 180.0;
constexpr int kOrientationWord = 20;
constexpr int kMaterialWord = 13;
constexpr int kFieldEntity = 124;
constexpr size_t kMaxRegionName = 255;

}  // namespace

int CMorvek::getProp(CKpMsg* msg, CKpElemStore* elems, CKpOrientStore* orients,
                     CKpCoordStore* coords) {
    if (!elems || !orients || !coords) return -1;
    try {
        // 1.-2. The elements' regions, distinct.
        const int n = elems->entries();
        std::vector<int> ids(n), regions(n, 0);
        for (int k = 0; k < n; ++k) ids[k] = (*elems)[k]->id();
        int status = DbFGetRegionForElements(n, ids.data(), regions.data());
        if (status != 0) {
            if (msg) msg->Create(4, " DbFGetRegionForElements: status %d", status);
            return -1;
        }
        std::vector<int> distinct = regions;
        int m = n;
        cleanIntArray(&m, distinct.data());
        distinct.resize(std::max(m, 0));

        // 3. An orientation per region holding word 20.
        for (const int rid : distinct) {
            int count = 0;
            status = DbFCountProps(rid, &count);
            if (status != 0) {
                if (msg) msg->Create(4, " DbFCountProps: status %d", status);
                return -1;
            }
            std::vector<int> words(std::max(count, 0));
            status = DbFGetPropsByRegion(count, rid, words.data());
            if (status != 0) {
                // The list holds nothing valid: no orientation for the region.
                if (msg)
                    msg->Create(4, " DbFGetPropsByRegion: status %d for region %d", status, rid);
                continue;
            }
            if (std::find(words.begin(), words.end(), kOrientationWord) == words.end()) continue;

            int a = 0, dataType = 0, b = 0, frame = 0, c = 0, field = 0;
            float reals[3] = {0, 0, 0};
            char text[32] = {0};
            status = DbFGetPropValue(rid, kOrientationWord, &a, &dataType, &b, reals, text, &frame,
                                     &c, &field);
            if (status != 0) {
                if (msg) msg->Create(4, " DbFGetPropValue: status %d", status);
                return -1;
            }
            char name[32] = {0};
            int o[10] = {0};
            status = DbFGetRegionDefinition(rid, name, &o[0], &o[1], &o[2], &o[3], &o[4], &o[5],
                                            &o[6], &o[7], &o[8], &o[9]);
            if (status != 0) {
                if (msg) msg->Create(4, " DbFGetRegionDefinition: status %d", status);
                return -1;
            }
            name[31] = '\0';

            int type = 0;
            switch (dataType) {
                case 9:
                    type = CKpOrient::TypeCoord;
                    if (!coords->find(frame)) {
                        int fa = 0, fb = 0;
                        float origin[3] = {0, 0, 0}, axes[9] = {0, 0, 0, 0, 0, 0, 0, 0, 0};
                        status = DbFGetCoordinateFrame(frame, &fa, &fb, origin, axes);
                        if (status != 0) {
                            if (msg) msg->Create(4, " DbFGetCoordinateFrame: status %d", status);
                            return -1;
                        }
                        CKpCoord* coord = new CKpCoord(frame);
                        coord->setType(CKpCoordRectangular);
                        for (int i = 0; i < 3; ++i) {
                            coord->setCoords(origin[i], i);
                            coord->setCoords(static_cast<double>(origin[i]) + axes[6 + i], 3 + i);
                            coord->setCoords(static_cast<double>(origin[i]) + axes[i], 6 + i);
                        }
                        if (store_or_free(coords, coord, msg, "coordinate frame") != 0) return -1;
                    }
                    break;
                case 1:
                    type = CKpOrient::TypeAngle;
                    break;
                case 2:
                    type = CKpOrient::TypeDirection;
                    break;
                case -1:
                    type = CKpOrient::TypeElemValues;
                    break;
                default:
                    if (msg)
                        msg->Create(4, " Unrecognised datatype %d for property word %d", dataType,
                                    kOrientationWord);
                    continue;
            }
            if (orients->find(rid)) continue;  // made before: kept
            CKpOrient* orient = new CKpOrient(rid);
            orient->setName(name);
            orient->setType(type);
            if (type == CKpOrient::TypeCoord) orient->setRefId(frame);
            if (type == CKpOrient::TypeElemValues) orient->setRefId(field);
            if (type == CKpOrient::TypeAngle) orient->setValues(reals[0] * kDegToRad, 0.0, 0.0);
            if (type == CKpOrient::TypeDirection) orient->setValues(reals[0], reals[1], reals[2]);
            if (store_or_free(orients, orient, msg, "orientation") != 0) return -1;
        }

        // 4.-5. Elements to their region's orientation; field angles.
        for (int k = 0; k < n; ++k) {
            CKpOrient* orient = regions[k] >= 1 ? orients->find(regions[k]) : nullptr;
            if (!orient) continue;
            CKpElem* elem = elems->find(ids[k]);
            elem->pOrient(orient);
            elem->orientId(orient->id());
        }
        for (int k = 0; k < n; ++k) {
            CKpElem* elem = elems->find(ids[k]);
            const CKpOrient* orient = elem->pOrient();
            if (!orient || orient->type() != CKpOrient::TypeElemValues) continue;
            int eid = elem->id(), z1 = 0, z2 = 0, z3 = 0;
            float zero = 0.0f, value = 0.0f;
            status = GetFieldValues25(orient->refId(), 1, 1, 1, &zero, kFieldEntity, &eid, &z1, &z2,
                                      &z3, &value);
            if (status != 0) {
                if (msg) msg->Create(4, " GetFieldValues25: status %d", status);
                return -1;
            }
            elem->theta(value * kDegToRad);
        }

        // 6. Frame directions, then every theta.
        orients->SetDirectionsByCoords(msg, coords);
        orients->SetElemTheta(msg);
        return 0;
    } catch (const std::bad_alloc&) {
        if (msg) msg->Create(4, "Could not allocate memory.");
        return -1;
    }
}

int CMorvek::putProp(CKpMsg* msg, CKpElemStore* elems, CKpLamStore* lams, CKpOrientStore* orients,
                     CKpCoordStore* coords) {
    if (!elems || !lams || !orients || !coords) return 0;
    const int n = elems->entries();
    if (n == 0) return 0;
    try {
        // 2. By pid, then orientation id (none last), then id.
        std::vector<CKpElem*> sorted(n);
        for (int k = 0; k < n; ++k) sorted[k] = (*elems)[k];
        std::stable_sort(sorted.begin(), sorted.end(), [](const CKpElem* a, const CKpElem* b) {
            if (a->pid() != b->pid()) return a->pid() < b->pid();
            const CKpOrient* oa = a->pOrient();
            const CKpOrient* ob = b->pOrient();
            if ((oa == nullptr) != (ob == nullptr)) return oa != nullptr;
            if (oa && oa->id() != ob->id()) return oa->id() < ob->id();
            return a->id() < b->id();
        });

        // 3. A field per type-2 orientation in use.
        std::vector<CKpOrient*> fieldOrients, frameOrients;
        for (const CKpElem* e : sorted) {
            CKpOrient* o = e->pOrient();
            if (o && o->type() == CKpOrient::TypeElemValues) fieldOrients.push_back(o);
            if (o && o->type() == CKpOrient::TypeCoord) frameOrients.push_back(o);
        }
        const auto byId = [](const CKpOrient* a, const CKpOrient* b) { return a->id() < b->id(); };
        const auto sameId = [](const CKpOrient* a, const CKpOrient* b) {
            return a->id() == b->id();
        };
        std::sort(fieldOrients.begin(), fieldOrients.end(), byId);
        fieldOrients.erase(std::unique(fieldOrients.begin(), fieldOrients.end(), sameId),
                           fieldOrients.end());
        for (CKpOrient* o : fieldOrients) {
            std::vector<int> ids;
            std::vector<float> values;
            for (const CKpElem* e : sorted)
                if (e->pOrient() == o) {
                    ids.push_back(e->id());
                    values.push_back(static_cast<float>(e->theta() / kDegToRad));
                }
            const std::vector<float> zeros(ids.size(), 0.0f);
            std::vector<float> z1 = zeros, z2 = zeros, z3 = zeros;
            int fieldId = 0;
            const int status = DbFCreateFieldLbc(&fieldId, o->name(), 0, 0, kFieldEntity,
                                                 static_cast<int>(ids.size()), ids.data(),
                                                 z1.data(), z2.data(), z3.data(), values.data());
            if (status != 0 && msg)
                msg->Create(4, " DbFCreateFieldLbc: status %d for orient %s", status, o->name());
            o->setHostFieldId(fieldId);
        }

        // 4. The frames of type-1 orientations in use.
        std::vector<int> frameIds;
        for (const CKpOrient* o : frameOrients) frameIds.push_back(o->refId());
        std::sort(frameIds.begin(), frameIds.end());
        frameIds.erase(std::unique(frameIds.begin(), frameIds.end()), frameIds.end());
        for (const int fid : frameIds) {
            CKpCoord* coord = coords->find(fid);
            if (!coord) continue;
            CKpDirn axes[3];
            coord->axes(nullptr, axes);
            float origin[3], axes9[9];
            for (int i = 0; i < 3; ++i) origin[i] = static_cast<float>(coord->coords(i));
            for (int a = 0; a < 3; ++a) {
                axes9[3 * a] = static_cast<float>(axes[a].getx());
                axes9[3 * a + 1] = static_cast<float>(axes[a].gety());
                axes9[3 * a + 2] = static_cast<float>(axes[a].getz());
            }
            int hostId = fid, out = 0;
            const int status = DbFCreateCoordinateFrame(&hostId, static_cast<int>(coord->type()),
                                                        origin, axes9, &out);
            if (status != 0) {
                if (msg)
                    msg->Create(4, " DbFCreateCoordinateFrame: status %d for coord %d", status,
                                fid);
                continue;
            }
            coord->SetExtId(hostId);
        }

        // 5. A region per run of one pid and one orientation.
        int lastPid = 0;
        bool pidSeen = false;
        for (size_t first = 0; first < sorted.size();) {
            const int pid = sorted[first]->pid();
            CKpOrient* orient = sorted[first]->pOrient();
            size_t end = first + 1;
            while (end < sorted.size() && sorted[end]->pid() == pid &&
                   sorted[end]->pOrient() == orient)
                ++end;
            const bool firstOfPid = !pidSeen || pid != lastPid;
            pidSeen = true;
            lastPid = pid;
            const size_t runStart = first;
            first = end;
            CKpLam* lam = lams->find(pid);
            if (!lam) continue;

            std::string name = lam->name();
            if (!firstOfPid) {
                name += "_";
                if (orient) {
                    name += orient->name();
                } else {
                    char text[32];
                    std::snprintf(text, sizeof text, "elem.%d", sorted[runStart]->id());
                    name += text;
                }
            }
            if (name.size() > kMaxRegionName) name.resize(kMaxRegionName);

            int status = DbFCreatePhysPropRegion(pid, name.c_str(), 51, 25, 35, 1, 3, 20);
            if (status != 0) {
                // The id belongs to another region: words and members written
                // now would change that region.
                if (msg)
                    msg->Create(4, " DbFCreatePhysPropRegion: status %d for region %s", status,
                                name.c_str());
                continue;
            }
            float zeros[3] = {0, 0, 0};
            status = DbFCreatePhysPropValue(pid, kMaterialWord, lam->GetExtId(), 5, 0, zeros, "", 0,
                                            0, 0);
            if (status != 0 && msg)
                msg->Create(4, " DbFCreatePhysPropValue: status %d for region %s (material)",
                            status, name.c_str());
            if (orient) {
                float reals[3] = {0, 0, 0};
                int dataType = 0, frame = 0, field = 0;
                bool write = true;
                switch (orient->type()) {
                    case CKpOrient::TypeDirection:
                        dataType = 2;
                        for (int i = 0; i < 3; ++i) reals[i] = static_cast<float>(orient->value(i));
                        break;
                    case CKpOrient::TypeAngle:
                        dataType = 1;
                        reals[0] = static_cast<float>(orient->value(0) / kDegToRad);
                        break;
                    case CKpOrient::TypeElemValues:
                        dataType = -1;
                        field = orient->hostFieldId();
                        break;
                    case CKpOrient::TypeCoord: {
                        dataType = 9;
                        const CKpCoord* coord = coords->find(orient->refId());
                        write = coord != nullptr;
                        if (coord) frame = coord->GetExtId();
                        break;
                    }
                    default:
                        write = false;
                        break;
                }
                if (write) {
                    status = DbFCreatePhysPropValue(pid, kOrientationWord, 0, dataType, 0, reals,
                                                    "", 0, frame, field);
                    if (status != 0 && msg)
                        msg->Create(
                            4, " DbFCreatePhysPropValue: status %d for region %s (orientation)",
                            status, name.c_str());
                }
            }
            for (size_t k = runStart; k < end; ++k) {
                status = DbFAssociateElementToRegion(sorted[k]->id(), pid);
                if (status != 0 && msg)
                    msg->Create(4, " DbFAssociateElementToRegion: status %d for region %s", status,
                                name.c_str());
            }
        }
    } catch (const std::bad_alloc&) {
        if (msg) msg->Create(4, "Could not allocate memory.");
    }
    return 0;
}

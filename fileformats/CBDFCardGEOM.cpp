#include "fileformats/CBDFCardGEOM.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <new>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpOrient.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/angle_util.h"

CBDFCardGEOM::CBDFCardGEOM(const char* name, int gmtp, int count, const int* nodeRow,
                           const int* nodeCol, int orientRow, int orientCol)
    : m_elemStore(nullptr),
      m_elemEntries(-1),
      m_maxId(0),
      m_orientStore(nullptr),
      m_orientEntries(-1),
      m_default(nullptr),
      m_theta(nullptr),
      m_coord(nullptr),
      m_coordId(0),
      m_name(name),
      m_gmtp(gmtp),
      m_count(count),
      m_nodeRow(nodeRow),
      m_nodeCol(nodeCol),
      m_orientRow(orientRow),
      m_orientCol(orientCol) {}

CKpOrient* CBDFCardGEOM::FindOrient(CKpLayup* model, const char* name, int kind, int refId) {
    CKpOrientStore* orients = model->pOrients();
    CKpOrient* orient = orients->findByName(name);
    if (orient) return orient;
    if (orients->maxId() == INT_MAX) return nullptr;  // no id left above the highest
    orient = new (std::nothrow) CKpOrient(orients->maxId() + 1);
    if (!orient) return nullptr;
    orient->setName(name);
    orient->setType(kind);
    orient->setRefId(refId);
    if (orients->insert(orient) != 0) {
        delete orient;
        return nullptr;
    }
    return orient;
}

int CBDFCardGEOM::Write(CKpLayup* model) {
    int eid = GetValue(0, 1, 0);
    if (eid < 1 || !model) return -1;
    // 1. The element of that id, or a new one.
    CKpElemStore* elems = model->pElems();
    if (elems != m_elemStore || elems->entries() != m_elemEntries) {
        m_elemStore = elems;
        m_maxId = elems->maxId();
    }
    CKpElem* elem = eid <= m_maxId ? elems->find(eid) : nullptr;
    if (elem && elem->getgmtp() != m_gmtp) return -1;
    const bool made = !elem;
    if (!elem) {
        elem = elems->NewElem(eid, m_gmtp);
        if (!elem) return -1;
        if (elems->insert(elem) != 0) {
            delete elem;
            return -1;
        }
        if (eid > m_maxId) m_maxId = eid;
    }
    m_elemEntries = elems->entries();
    if (elem->getnnod() != m_count) return -1;
    // 2. Property.
    const CF06FieldVariant* pid = GetValue(0, 2);
    if (pid && pid->IsNumber()) {
        elem->pid(pid->ToInt());
        elem->seteltp(1);
    }
    // 3. Orientation.
    const CF06FieldVariant* field = GetValue(m_orientRow, m_orientCol);
    CKpOrientStore* orients = model->pOrients();
    if (orients != m_orientStore || orients->entries() != m_orientEntries) {
        m_orientStore = orients;
        m_default = m_theta = m_coord = nullptr;
    }
    CKpOrient* orient;
    double theta = 0.0;
    if (field && field->GetType() == CF06FieldVariant::eInt) {
        int mcid = field->ToInt();
        if (!m_coord || m_coordId != mcid) {
            char name[32];
            std::snprintf(name, sizeof name, "Coord.%d", mcid);
            m_coord = FindOrient(model, name, 1, mcid);
            m_coordId = mcid;
        }
        orient = m_coord;
    } else if (field && field->GetType() == CF06FieldVariant::eDouble) {
        if (!m_theta) m_theta = FindOrient(model, "Theta", 2, 0);
        orient = m_theta;
        theta = field->ToDouble() * kPi / 180.0;
    } else {
        if (!m_default) m_default = FindOrient(model, "Default", 0, 0);
        orient = m_default;
    }
    if (!orient) {
        // A refused card leaves no element without nodes or orientation.
        if (made) elems->eraseObject(elem);
        return -1;
    }
    m_orientEntries = orients->entries();
    elem->pOrient(orient);
    elem->orientId(orient->id());
    elem->theta(theta);
    // 4. Node ids in ring order.
    for (int i = 0; i < m_count; ++i) elem->setunid(i, GetValue(m_nodeRow[i], m_nodeCol[i], 0));
    return 0;
}

CKpElem* CBDFCardGEOM::StartElement(CVekObject* object) {
    CKpElem* elem = dynamic_cast<CKpElem*>(object);
    if (!elem || elem->getgmtp() != m_gmtp || !Start(m_name)) return nullptr;
    m_fields->Add(elem->id());
    if (elem->pid() != 0)
        m_fields->Add(elem->pid());
    else
        m_fields->Add();
    return elem;
}

bool CBDFCardGEOM::HasOrientation(const CKpElem* elem) {
    const CKpOrient* orient = elem->pOrient();
    return orient && (orient->type() == 1 || orient->type() == 2);
}

bool CBDFCardGEOM::AddOrientation(const CKpElem* elem) {
    const CKpOrient* orient = elem->pOrient();
    if (!orient) return false;
    if (orient->type() == 1) {
        m_fields->Add(orient->refId());
        return true;
    }
    if (orient->type() == 2) {
        m_fields->Add(Degrees(elem->theta()));
        return true;
    }
    return false;
}

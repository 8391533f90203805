#include "fileformats/CBDFCardGEOM.h"

#include <cmath>
#include <cstdio>
#include <new>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpOrient.h"
#include "layuplib/CKpOrientStore.h"

CBDFCardGEOM::CBDFCardGEOM(const char* name, int gmtp, int count, const int* nodeRow,
                           const int* nodeCol, int orientRow, int orientCol)
    : m_name(name),
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
    orient = new (std::nothrow) CKpOrient(orients->maxId() + 1);
    if (!orient) return nullptr;
    orient->setName(name);
    orient->setType(kind);
    orient->setRefId(refId);
    int before = orients->entries();
    orients->insert(orient);
    if (orients->entries() == before) {
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
    CKpElem* elem = elems->find(eid);
    if (elem && elem->getgmtp() != m_gmtp) return -1;
    if (!elem) {
        elem = elems->NewElem(eid, m_gmtp);
        if (!elem) return -1;
        int before = elems->entries();
        elems->insert(elem);
        if (elems->entries() == before) {
            delete elem;
            return -1;
        }
    }
    if (elem->getnnod() != m_count) return -1;
    // 2. Property.
    const CF06FieldVariant* pid = GetValue(0, 2);
    if (pid && pid->IsNumber()) {
        elem->pid(pid->ToInt());
        elem->seteltp(1);
    }
    // 3. Orientation.
    const CF06FieldVariant* field = GetValue(m_orientRow, m_orientCol);
    CKpOrient* orient;
    double theta = 0.0;
    if (field && field->GetType() == CF06FieldVariant::eInt) {
        char name[32];
        std::snprintf(name, sizeof name, "Coord.%d", field->ToInt());
        orient = FindOrient(model, name, 1, field->ToInt());
    } else if (field && field->GetType() == CF06FieldVariant::eDouble) {
        orient = FindOrient(model, "Theta", 2, 0);
        theta = field->ToDouble() * M_PI / 180.0;
    } else {
        orient = FindOrient(model, "Default", 0, 0);
    }
    if (!orient) return -1;
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

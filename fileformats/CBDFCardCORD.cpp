#include "fileformats/CBDFCardCORD.h"

#include <new>

#include "layuplib/CKpCoord.h"
#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpLayup.h"

CBDFCardCORD::CBDFCardCORD(const char* name, int type) : m_name(name), m_type(type) {}

int CBDFCardCORD::Write(CKpLayup* model) {
    int cid = GetValue(0, 1, 0);
    if (cid < 1 || !model) return -1;
    CKpCoordStore* coords = model->pCoords();
    CKpCoord* coord = new (std::nothrow) CKpCoord(cid);
    if (!coord) return -1;
    coord->setType(static_cast<CKpCoordType>(m_type));
    coord->setRid(GetValue(0, 2, 0));
    for (int k = 0; k < 6; ++k) coord->setCoords(GetValue(0, 3 + k, 0.0), k);
    for (int k = 0; k < 3; ++k) coord->setCoords(GetValue(1, 1 + k, 0.0), 6 + k);
    if (coords->insert(coord) != 0) {
        delete coord;
        return -1;
    }
    return 0;
}

int CBDFCardCORD::Read(CVekObject* object) {
    CKpCoord* coord = dynamic_cast<CKpCoord*>(object);
    if (!coord || !Start(m_name)) return -1;
    m_fields->Add(coord->id());
    m_fields->Add(coord->rid());
    for (int k = 0; k < 6; ++k) m_fields->Add(coord->coords(k));
    m_fields->AddNewRow();
    m_fields->Add();
    for (int k = 6; k < 9; ++k) m_fields->Add(coord->coords(k));
    return 0;
}

#include "fileformats/CBDFCardGRID.h"

#include "layuplib/CKpLayup.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"

CBDFCardGRID::CBDFCardGRID() : m_store(nullptr), m_entries(-1), m_maxId(0) {}

int CBDFCardGRID::Write(CKpLayup* model) {
    int id = GetValue(0, 1, 0);
    if (id < 1 || !model) return -1;
    CKpNodeStore* nodes = model->pNodes();
    if (nodes != m_store || nodes->entries() != m_entries) {
        m_store = nodes;
        m_maxId = nodes->maxId();
    }
    CKpNode* node = id <= m_maxId ? nodes->find(id) : nullptr;
    if (!node) {
        node = nodes->NewNode(id);
        if (!node) return -1;
        if (nodes->insert(node) != 0) {
            delete node;
            return -1;
        }
        if (id > m_maxId) m_maxId = id;
    }
    m_entries = nodes->entries();
    node->SetCp(GetValue(0, 2, 0));
    node->setCKpPoint(GetValue(0, 3, 0.0), GetValue(0, 4, 0.0), GetValue(0, 5, 0.0));
    node->setIncompleteFlag(0);
    return 0;
}

int CBDFCardGRID::Read(CVekObject* object) {
    CKpNode* node = dynamic_cast<CKpNode*>(object);
    if (!node || !Start("GRID")) return -1;
    m_fields->Add(node->id());
    m_fields->Add();
    m_fields->Add(node->getCKpPointX());
    m_fields->Add(node->getCKpPointY());
    m_fields->Add(node->getCKpPointZ());
    return 0;
}

#include "fileformats/CESAComp.h"

#include <new>

#include "fileformats/CESACompResults.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResElemStore.h"
#include "layuplib/CKpResStore.h"

int CESAComp::Read() {
    CKpMsg* msg = pMsg();
    CESACompResults doc;
    const int loaded = doc.Load(name());
    if (loaded != 0) {
        // Without a parse error the file could not be opened.
        const char* why = *doc.LastError() ? doc.LastError() : name();
        if (msg) msg->Create(4, "Unable to load results: %s\n", why);
        return 1;
    }
    if (msg) {
        for (const std::string& w : doc.Warnings()) msg->Create(2, "%s\n", w.c_str());
        msg->Create(1, "Results Name: %s\n", doc.GetName());
    }
    CKpResStore* ress = pRess();
    if (!ress) return -1;
    const int n = ress->entries();
    const int id = n > 0 ? (*ress)[n - 1]->id() + 1 : 1;
    const char* const names[5] = {doc.GetName(), "Subcase", "ESAComp Result", "invRF", "Unlayered"};
    CKpRes* res = new (std::nothrow) CKpRes(id, names, 4, 1, 1);
    if (!res) return -1;
    ress->insert(res);
    if (ress->find(id) != res) {  // the store could not grow and left it out
        delete res;
        return -1;
    }

    for (int t = 0; t < doc.GetNumTables(); ++t) {
        const CESACompResTable* table = doc.GetTable(t);
        if (msg) msg->Create(1, "Table: %s\n", table->GetName());
        for (int r = 0; r < table->GetNumRows(); ++r) {
            const CESACompResTRow* row = table->GetRow(r);
            if (msg)
                msg->Create(1, "%d, %lf, %s, %s\n", row->GetElementId(), row->GetValue(),
                            row->GetFailureMode(), row->GetCriticalLayer());
            if (res->ResElems()->find(row->GetElementId()) && msg)
                msg->Create(1, "Element %d given again: the later value is kept\n",
                            row->GetElementId());
            const float value = static_cast<float>(row->GetValue());
            if (!res->FindOrCreateResElem(row->GetElementId(), 1, &value, 0, nullptr)) return -1;
        }
    }
    return 0;
}

#include "fileformats/CESAComp.h"

#include <new>
#include <string>

#include "fileformats/CESACompResults.h"
#include "fileformats/fixed_text.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResElemStore.h"
#include "layuplib/CKpResStore.h"
#include "layuplib/input_file_check.h"
#include "layuplib/number_text.h"
#include "layuplib/store_or_free.h"

namespace {

// "%d, %lf, %s, %s\n" of the row's id, value, failure mode and critical
// layer, without printf: the information line of every row.
const char* RowText(const CESACompResTRow* row, std::string& line) {
    char number[FIXED6_TEXT_MAX];
    line.assign(number, FormatInt(number, row->GetElementId()));
    line += ", ";
    line.append(number, FormatFixed6(number, row->GetValue()));
    line += ", ";
    line += row->GetFailureMode();
    line += ", ";
    line += row->GetCriticalLayer();
    line += '\n';
    return line.c_str();
}

}  // namespace

int CESAComp::Read() {
    CKpMsg* msg = pMsg();
    // Missing, a directory or empty: said before the XML parser starts.
    const std::string problem = input_file_problem(name());
    if (!problem.empty()) {
        if (msg) msg->Create(4, "Unable to load results: %s %s\n", name(), problem.c_str());
        return 1;
    }
    CESACompResults doc;
    const int loaded = doc.Load(name());
    if (loaded != 0) {
        // Without a parse error the file could not be opened.
        if (!msg) return 1;
        if (*doc.LastError())
            msg->Create(4, "Unable to load results: %s: %s\n", name(), doc.LastError());
        else
            msg->Create(4, "Unable to load results: %s cannot be opened\n", name());
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
    if (!res || store_or_free(ress, res, msg, "result") != 0) return -1;

    std::string line;
    for (int t = 0; t < doc.GetNumTables(); ++t) {
        const CESACompResTable* table = doc.GetTable(t);
        if (msg) msg->Create(1, "Table: %s\n", table->GetName());
        for (int r = 0; r < table->GetNumRows(); ++r) {
            const CESACompResTRow* row = table->GetRow(r);
            if (msg) msg->Create(1, "%s", RowText(row, line));
            if (res->ResElems()->findRecord(row->GetElementId()) && msg)
                msg->Create(1, "Element %d given again: the later value is kept\n",
                            row->GetElementId());
            const float value = static_cast<float>(row->GetValue());
            if (!res->FindOrCreateResElem(row->GetElementId(), 1, &value, 0, nullptr)) return -1;
        }
    }
    return 0;
}

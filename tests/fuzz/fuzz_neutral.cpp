// Host neutral file reader: any bytes must read or fail with a status;
// never crash, leak or read past a buffer. Whatever was read is linked, so
// every element left in the store has all of its nodes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFile.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/save_neutral.h"
#include "tests/fuzz/FuzzFile.h"
#include "tests/support/RecordingGUI.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFile input(data, size);
    if (!input.ok()) return 0;
    RecordingGUI gui;
    CKpMsg msg;
    msg.SetGUI(&gui);
    CKpNodeStore nodes;
    CKpElemStore elems;
    CKpFile file;
    file.SetName(input.path());
    if (ImportMorvek25(&msg, &file, &nodes, &elems) == 0) {
        CVekObjectStoreIterator<CKpElem> it(elems);
        while (++it)
            for (int k = 0; k < it.key()->getnnod(); ++k)
                if (!it.key()->getckpnodes(k)) std::abort();
    }
    elems.eraseAllObjects();  // the stores do not own their records
    nodes.eraseAllObjects();
    return 0;
}

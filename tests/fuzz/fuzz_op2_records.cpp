// Binary record library: any bytes walked as label, datablocks, records and
// matrix columns must end in a status, never a crash or a read past a buffer.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "op2reader/op2_file.h"
#include "tests/fuzz/FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFile file(data, size);
    if (!file.ok()) return 0;
    const std::string path = file.path();
    op2_Init(nullptr);
    int id = op2_OpenFile(path.c_str(), 'R');
    if (id >= 1) {
        int date[3];
        char label[9], version[13];
        // Label-less files start with a datablock: walk them too.
        if (op2_ReadLabel2(id, date, label, version) != 0) {
            op2_CloseFile(id);
            id = op2_OpenFile(path.c_str(), 'R');
        }
        std::vector<int> buf(4096);
        std::vector<double> col(8192);
        for (int blocks = 0; blocks < 64; ++blocks) {
            char name[9];
            int trailer[6], eof = 0;
            int table = blocks % 2;
            if (op2_OpenDatablk(id, table, name, trailer, &eof) || eof) break;
            int r = 0, status = 0, got = 0;
            if (table) {
                for (int k = 0; k < 256 && r == 0 && status != 2; ++k)
                    r = op2_ReadRecord(id, 1 + k % 7, k % 3 == 0, &got, &status, buf.data());
            } else {
                int maxlen = 0;
                (void)maxlen;
                int swapped = 0;
                op2_GetSwapped(id, &swapped);
                int rows = swapped ? SwapByte4Int(trailer[1]) : trailer[1];
                int type = swapped ? SwapByte4Int(trailer[3]) : trailer[3];
                int eom = 0;
                if (rows >= 1 && rows <= 4096 && type >= 1 && type <= 4) {
                    int req[4] = {type, 1, rows, 1};
                    for (int k = 0; k < 64 && r == 0 && !eom; ++k)
                        r = op2_UnpackColumn(id, req, &got, col.data(), &eom);
                }
            }
            if (op2_CloseDatablk(id)) break;
        }
        op2_CloseFile(id);
    }
    return 0;
}

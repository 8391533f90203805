// Bulk data field parser: any bytes, read card by card through a small
// window (so that lines cross windows), must give tables that the writer
// can put out again; never crash, hang or read past a buffer.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "F06Parser/CF06FileBuffer.h"
#include "fileformats/CBDFFieldParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    FILE* in = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!in) return 0;
    static FILE* sink = std::fopen("/dev/null", "wb");
    {
        CF06FileBuffer buffer;
        buffer.SetBufferSize(61, 512);
        buffer.Attach(in);
        CF06FileBuffer out;
        out.Attach(sink);
        CBDFFieldParser parser;
        std::int64_t pos = 0;
        while (buffer[pos] != '\0') {
            std::int64_t next = parser.Parse(pos, buffer);
            if (next <= pos) __builtin_trap();  // no progress: a hang
            parser.GetFields().Write(out);
            pos = next;
        }
    }
    std::fclose(in);
    return 0;
}

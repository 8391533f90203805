#ifndef PLYSTRAND_F06PARSER_CF06PAGELOOP_H
#define PLYSTRAND_F06PARSER_CF06PAGELOOP_H

#include <cstdint>

#include "F06Parser/CF06FileBuffer.h"
#include "F06Parser/CF06PageHeader.h"

// Walks the rows of a page and the following pages of one kind: calls
// row(pos) for each line; at a page break parses the new header and, when
// accept(header) holds, calls newPage(header) (which returns the first row)
// and goes on; otherwise returns the position of the new page's "1". The end
// of the input returns its position.
// The start of the line after the one at pos (the end of the input when
// there is none).
inline std::int64_t LineAfter(CF06FileBuffer& buffer, std::int64_t pos) {
    for (char c = buffer[pos]; c != 0; c = buffer[++pos])
        if (c == '\n') return pos + 1;
    return pos;
}

template <class Accept, class NewPage, class Row>
std::int64_t WalkPages(CF06FileBuffer& buffer, std::int64_t pos, Accept accept, NewPage newPage,
                       Row row) {
    for (;;) {
        const char c = buffer[pos];
        if (c == 0) return pos;
        if (c == '1' && pos > 0 && buffer[pos - 1] == '\n') {
            CF06PageHeader header;
            header.Parse(pos, buffer);
            if (!accept(header)) return pos;
            pos = newPage(header);
            continue;
        }
        row(pos);
        pos = LineAfter(buffer, pos);
    }
}

#endif  // PLYSTRAND_F06PARSER_CF06PAGELOOP_H

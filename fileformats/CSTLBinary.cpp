#include "fileformats/CSTLBinary.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpMsgLimit.h"
#include "layuplib/CVekObjectStoreIterator.h"

std::int64_t CSTLBinary::NextLongInteger(const unsigned char* b) {
    return static_cast<std::int64_t>(
        static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
        static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24);
}

float CSTLBinary::NextFloat(const unsigned char* b) {
    const std::uint32_t bits = static_cast<std::uint32_t>(NextLongInteger(b));
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

void CSTLBinary::NextFacet(CSTLParser::CSTLFacet& facet, const unsigned char* record) {
    for (int i = 0; i < 9; ++i) facet.v[i] = NextFloat(record + 12 + 4 * i);
}

unsigned char* CSTLBinary::WriteLongInteger(std::uint32_t value, unsigned char* b) {
    b[0] = static_cast<unsigned char>(value);
    b[1] = static_cast<unsigned char>(value >> 8);
    b[2] = static_cast<unsigned char>(value >> 16);
    b[3] = static_cast<unsigned char>(value >> 24);
    return b + 4;
}

unsigned char* CSTLBinary::WriteFloat(float value, unsigned char* b) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return WriteLongInteger(bits, b);
}

namespace {

// A coordinate a real facet can hold: finite and not beyond 1e12 (the bits
// of random bytes give magnitudes up to 3e38 and NaNs).
bool plausible(float v) {
    return std::isfinite(v) && std::fabs(v) <= 1e12f;
}

}  // namespace

int CSTLBinary::Parse() {
    CF06FileBuffer* in = m_parser->GetBuffer();
    CKpMsg* msg = m_parser->pMsg();
    const char* name = m_parser->name();
    const std::int64_t size = m_parser->FileSize();
    unsigned char head[4];
    if (in->ReadIntoBuffer(80, reinterpret_cast<char*>(head), 4) != 84) {
        msg->Create(4,
                    "STL file '%s' is not an STL file: its %lld bytes hold neither an ASCII solid "
                    "nor the 84-byte binary header.",
                    name, static_cast<long long>(size));
        return -1;
    }
    const std::int64_t count = NextLongInteger(head);
    const std::int64_t room = size >= 84 ? (size - 84) / 50 : 0;
    if (count == 0) {
        msg->Create(4, "STL file '%s' is not an STL file: its binary header declares no facet.",
                    name);
        return -1;
    }
    unsigned char record[50];
    // 1. A count that disagrees with the size is a cut file only when the
    //    first facet looks like one: random bytes are no STL file.
    if (84 + 50 * count != size) {
        bool facetLike = room > 0 && in->ReadIntoBuffer(84, reinterpret_cast<char*>(record), 50) == 134;
        for (int i = 0; facetLike && i < 12; ++i) facetLike = plausible(NextFloat(record + 4 * i));
        if (!facetLike) {
            msg->Create(4,
                        "STL file '%s' is not an STL file: its binary header declares %lld "
                        "facets, its %lld bytes hold %lld, and the first holds no coordinates.",
                        name, static_cast<long long>(count), static_cast<long long>(size),
                        static_cast<long long>(room));
            return -1;
        }
    }
    // 2. The facets.
    int status = 0;
    std::int64_t pos = 84;
    CSTLParser::CSTLFacet facet;
    CKpMsgLimit notFinite(msg);
    for (std::int64_t k = 0; k < count; ++k) {
        // Every facet needs its 50 bytes: a short record is a cut file.
        const std::int64_t next = in->ReadIntoBuffer(pos, reinterpret_cast<char*>(record), 50);
        if (next - pos < 50) {
            msg->Create(4,
                        "STL file '%s' declares %lld facets but holds only %lld: it ends early at "
                        "byte %lld.",
                        name, static_cast<long long>(count), static_cast<long long>(k),
                        static_cast<long long>(next > pos ? next : pos));
            status = -1;
            break;
        }
        pos = next;
        NextFacet(facet, record);
        bool finite = true;
        for (float v : facet.v) finite = finite && std::isfinite(v);
        if (!finite) {
            notFinite.Create(4,
                             "STL file '%s': facet %lld has a coordinate that is not finite; "
                             "skipped.",
                             name, static_cast<long long>(k + 1));
            status = -1;
            continue;
        }
        if (!m_parser->AddFacet(facet)) return -1;
    }
    if (notFinite.Suppressed() > 0)
        msg->Create(4, "STL file '%s': %d more facets with a coordinate that is not finite were "
                       "skipped.", name, notFinite.Suppressed());
    return status;
}

int CSTLBinary::Write() {
    CF06FileBuffer* out = m_parser->GetBuffer();
    CKpElemStore* elems = m_parser->pElems();
    CKpFacetStore* facets = m_parser->pFacs();
    int failed = 0;
    char header[81];
    std::snprintf(header, sizeof header, "%80s", "TEST");
    failed |= out->Write(header, 80) != 0;
    // The count: every facet of every element.
    std::uint32_t total = 0;
    {
        CVekObjectStoreIterator<CKpElem> it(*elems);
        while (++it)
            for (int f = 0; f < it.key()->getnfac(); ++f)
                if (facets->pFac(it.key()->getfacs(f))) ++total;
    }
    unsigned char bytes[50];
    WriteLongInteger(total, bytes);
    failed |= out->Write(reinterpret_cast<char*>(bytes), 4) != 0;
    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (++it) {
        CKpElem* elem = it.key();
        const int nfac = elem->getnfac();
        if (nfac == 0) continue;
        CKpDirn normal;
        elem->GetNormal(&normal);
        for (int f = 0; f < nfac; ++f) {
            CKpFacet* fac = facets->pFac(elem->getfacs(f));
            if (!fac) continue;
            unsigned char* b = bytes;
            b = WriteFloat(static_cast<float>(normal.getx()), b);
            b = WriteFloat(static_cast<float>(normal.gety()), b);
            b = WriteFloat(static_cast<float>(normal.getz()), b);
            for (int v = 0; v < 3; ++v) {
                CKpNode* node = fac->getCKpNode(v);
                b = WriteFloat(static_cast<float>(node ? node->getCKpPointX() : 0.0), b);
                b = WriteFloat(static_cast<float>(node ? node->getCKpPointY() : 0.0), b);
                b = WriteFloat(static_cast<float>(node ? node->getCKpPointZ() : 0.0), b);
            }
            *b++ = 0;
            *b++ = 0;
            failed |= out->Write(reinterpret_cast<char*>(bytes), 50) != 0;
        }
    }
    return failed ? -1 : 0;
}

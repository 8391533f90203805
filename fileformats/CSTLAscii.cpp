#include "fileformats/CSTLAscii.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "fileformats/CDBParser.h"
#include "fileformats/CSTLParser.h"
#include "layuplib/CKpDirn.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpMsgLimit.h"
#include "layuplib/CVekObjectStoreIterator.h"

CSTLAscii::~CSTLAscii() = default;

namespace {

// Lines of the file through the parser's window: LF, CR LF or CR end a line.
class LineReader {
  public:
    explicit LineReader(CF06FileBuffer& file) : m_file(file), m_pos(0), m_line(0) {}
    // The next line into `line`; false at the end of the file. `nul` tells
    // whether the line holds a NUL byte.
    bool Next(std::string& line, bool& nul) {
        if (!m_file.InWindow(m_pos)) return false;
        line.clear();
        nul = false;
        ++m_line;
        while (m_file.InWindow(m_pos)) {
            const char* p = m_file.GetBuffer(m_pos);
            const std::int64_t n = m_file.GetWindowEnd() - m_pos;
            const char* lf = static_cast<const char*>(std::memchr(p, '\n', n));
            std::int64_t i = lf ? lf - p : n;
            const char* cr = static_cast<const char*>(std::memchr(p, '\r', i));
            if (cr) i = cr - p;
            if (std::memchr(p, '\0', i)) nul = true;
            line.append(p, static_cast<size_t>(i));
            m_pos += i;
            if (i < n) {
                ++m_pos;
                if (p[i] == '\r' && m_file[m_pos] == '\n') ++m_pos;
                break;
            }
        }
        return true;
    }
    int LineNo() const { return m_line; }

  private:
    CF06FileBuffer& m_file;
    std::int64_t m_pos;
    int m_line;
};

// The first word of the line, lower-cased, and where the text after it
// starts.
const char* firstWord(const std::string& line, char* word, size_t size) {
    const char* p = line.c_str();
    while (*p == ' ' || *p == '\t') ++p;
    size_t n = 0;
    while (*p && *p != ' ' && *p != '\t') {
        if (n + 1 < size) word[n++] = (*p >= 'A' && *p <= 'Z') ? static_cast<char>(*p + 32) : *p;
        ++p;
    }
    word[n] = '\0';
    return p;
}

// Three reals after "vertex"; false when there are fewer or one is not finite.
bool threeNumbers(const char* p, const char* end, float* out) {
    for (int i = 0; i < 3; ++i) {
        while (p < end && (*p == ' ' || *p == '\t')) ++p;
        const char* stop = p;
        while (stop < end && *stop != ' ' && *stop != '\t') ++stop;
        if (stop == p) return false;
        const double v = CdbAtof(p, stop);
        // A token that is no number at all reads as 0.0: it must start like one.
        const char c = *p == '+' || *p == '-' ? (p + 1 < stop ? p[1] : '\0') : *p;
        if (!((c >= '0' && c <= '9') || c == '.')) return false;
        out[i] = static_cast<float>(v);
        if (!std::isfinite(out[i])) return false;
        p = stop;
    }
    return true;
}

}  // namespace

int CSTLAscii::Parse() {
    CSTLParser* parser = m_parser;
    CKpMsg* msg = parser->pMsg();
    const char* name = parser->name();
    LineReader lines(*parser->GetBuffer());
    std::string line;
    bool nul = false;
    char word[16];
    int status = 0;

    // 1. Up to "solid".
    bool solid = false;
    while (!solid && lines.Next(line, nul)) {
        if (nul) continue;
        std::string lower(line);
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        solid = lower.find("solid") != std::string::npos;
    }
    if (!solid) return 1;

    // 2. Facets.
    int facetNo = 0, facetLine = 0, vertices = 0, added = 0;
    bool inFacet = false, bad = false, ended = false;
    CSTLParser::CSTLFacet facet{};
    // Each kind of line error: the first few, then a count of the rest.
    CKpMsgLimit vertexCount(msg), vertexLine(msg), nulLine(msg), otherLine(msg);
    auto endFacet = [&]() {
        if (!inFacet) return;
        inFacet = false;
        if (bad) return;
        if (vertices != 3) {
            vertexCount.Create(4,
                               "STL file '%s': facet %d (line %d) has %d vertex lines; it is "
                               "skipped.",
                               name, facetNo, facetLine, vertices);
            status = -1;
            return;
        }
        if (parser->AddFacet(facet))
            ++added;
        else
            status = -1;
    };
    while (lines.Next(line, nul)) {
        if (nul) {
            nulLine.Create(4, "STL file '%s': line %d holds a NUL byte%s.", name, lines.LineNo(),
                           inFacet ? "; its facet is skipped" : "");
            status = -1;
            if (inFacet) bad = true;
            continue;
        }
        const char* rest = firstWord(line, word, sizeof word);
        if (std::strcmp(word, "facet") == 0) {
            endFacet();
            inFacet = true;
            bad = false;
            vertices = 0;
            ++facetNo;
            facetLine = lines.LineNo();
        } else if (std::strcmp(word, "vertex") == 0) {
            if (!inFacet || bad) continue;
            if (vertices >= 3) {
                ++vertices;
                continue;
            }
            if (!threeNumbers(rest, line.c_str() + line.size(), facet.v + 3 * vertices)) {
                vertexLine.Create(4,
                                  "STL file '%s': facet %d, line %d: the vertex line does not "
                                  "hold three numbers; the facet is skipped.",
                                  name, facetNo, lines.LineNo());
                status = -1;
                bad = true;
                continue;
            }
            ++vertices;
        } else if (std::strcmp(word, "endfacet") == 0) {
            endFacet();
        } else if (std::strcmp(word, "endsolid") == 0) {
            endFacet();
            ended = true;
        } else if (std::strcmp(word, "solid") == 0) {
            ended = false;
        } else if (word[0] != '\0' && std::strcmp(word, "outer") != 0 &&
                   std::strcmp(word, "endloop") != 0) {
            // A word of no STL line: a line cut short, or not STL text.
            otherLine.Create(4, "STL file '%s': line %d is not an STL line%s.", name,
                             lines.LineNo(), inFacet ? "; its facet is skipped" : "");
            status = -1;
            if (inFacet) bad = true;
        }
    }
    const struct {
        const CKpMsgLimit& limit;
        const char* what;
    } kinds[] = {{vertexCount, "facets without three vertex lines"},
                 {vertexLine, "vertex lines without three numbers"},
                 {nulLine, "lines holding a NUL byte"},
                 {otherLine, "lines that are not STL lines"}};
    for (const auto& kind : kinds)
        if (kind.limit.Suppressed() > 0)
            msg->Create(4, "STL file '%s': %d more %s.", name, kind.limit.Suppressed(), kind.what);
    if (inFacet) {
        if (!bad) {
            msg->Create(4, "STL file '%s' ends inside facet %d (line %d); the facet is skipped.",
                        name, facetNo, facetLine);
            status = -1;
        }
    } else if (!ended) {
        msg->Create(4, "STL file '%s' ends without \"endsolid\" after facet %d; it may be cut.",
                    name, facetNo);
        status = -1;
    }
    // Text that never made a facet is no STL file, whatever words it holds.
    if (added == 0 && status == 0) {
        msg->Create(4, "STL file '%s' is not an STL file: it holds no facet.", name);
        status = -1;
    }
    return status;
}

int CSTLAscii::Write() {
    CF06FileBuffer* out = m_parser->GetBuffer();
    CKpElemStore* elems = m_parser->pElems();
    CKpFacetStore* facets = m_parser->pFacs();
    int failed = 0;
    char buf[256];
    auto put = [out, &failed](const char* text, int n) { failed |= out->Write(text, n) != 0; };
    put("solid TEST\n", 11);
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
            int n = std::snprintf(buf, sizeof buf, "facet normal %f %f %f\nouter loop\n",
                                  normal.getx(), normal.gety(), normal.getz());
            put(buf, n);
            for (int v = 0; v < 3; ++v) {
                CKpNode* node = fac->getCKpNode(v);
                n = std::snprintf(
                    buf, sizeof buf, "vertex %f %f %f\n", node ? node->getCKpPointX() : 0.0,
                    node ? node->getCKpPointY() : 0.0, node ? node->getCKpPointZ() : 0.0);
                put(buf, n);
            }
            put("endloop\nendfacet\n", 17);
        }
    }
    put("endsolid TEST\r\n", 15);
    return failed ? -1 : 0;
}

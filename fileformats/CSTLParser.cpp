#include "fileformats/CSTLParser.h"

#include <cctype>
#include <climits>
#include <cstring>
#include <new>
#include <string>

#include "fileformats/CSTLAscii.h"
#include "fileformats/CSTLBinary.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/input_file_check.h"
#include "layuplib/store_or_free.h"

CSTLParser::CSTLParser() : m_nextElemId(1), m_nextNodeId(1), m_default(nullptr) {}

CSTLParser::~CSTLParser() = default;

int CSTLParser::Open(const char* path, EOpenType type) {
    m_buffer.SetBufferSize(4096, 512);
    return type == eRead ? m_buffer.OpenRead(path, 1) : m_buffer.OpenWrite(path, 1);
}

CKpDBF::EDbfType CSTLParser::GetFileType() {
    if (m_buffer[0] == '\0') return eBinary;
    char text[1024];
    int n = 0;
    const std::int64_t end = m_buffer.GetWindowEnd();
    for (std::int64_t pos = 0; pos < end && n < 1023; ++pos, ++n)
        text[n] = static_cast<char>(std::tolower(static_cast<unsigned char>(m_buffer[pos])));
    text[n] = '\0';
    // A NUL inside the window would end the text early; search the bytes.
    auto has = [&text, n](const char* word) {
        const size_t len = std::strlen(word);
        for (int i = 0; i + static_cast<int>(len) <= n; ++i)
            if (std::memcmp(text + i, word, len) == 0) return true;
        return false;
    };
    return has("solid") && has("facet normal") && has("outer loop") && has("vertex") ? eText
                                                                                     : eBinary;
}

int CSTLParser::Read() {
    if (!pMsg() || !pNodes() || !pElems() || !pOrients()) return -1;
    // Missing, a directory or empty: say so before anything is opened.
    const std::string problem = input_file_problem(name(), &m_fileSize);
    if (!problem.empty()) {
        pMsg()->Create(4, "STL file '%s' %s.", name(), problem.c_str());
        return -1;
    }
    if (Open(name(), eRead) != 0) {
        pMsg()->Create(4, "STL file '%s' cannot be opened.", name());
        return -1;
    }
    // Ids go on from the highest of each store.
    const int maxNode = pNodes()->maxId(), maxElem = pElems()->maxId();
    if (maxNode == INT_MAX || maxElem == INT_MAX) {
        pMsg()->Create(4, "STL file '%s': the model's ids leave no room for new ones.", name());
        m_buffer.Close();
        return -1;
    }
    m_nextNodeId = maxNode + 1;
    m_nextElemId = maxElem + 1;
    m_default = nullptr;
    int status;
    try {
        SetType(GetFileType());
        if (type() == eText) {
            pMsg()->Create(1, "STL file is ASCII\n");
            status = CSTLAscii(this).Parse();
        } else {
            pMsg()->Create(1, "STL file is Binary\n");
            status = CSTLBinary(this).Parse();
        }
    } catch (const std::bad_alloc&) {
        pMsg()->Create(4, "Could not allocate memory.");
        status = -1;
    }
    m_buffer.Close();
    return status;
}

int CSTLParser::Write() {
    if (!pMsg() || !pElems() || !pFacs()) return -1;
    if (Open(name(), eWrite) != 0) return -1;
    int status = type() == eText ? CSTLAscii(this).Write() : CSTLBinary(this).Write();
    if (m_buffer.Close() != 0) status = -1;
    if (status != 0) pMsg()->Create(4, "Could not write file '%s'.", name());
    return status;
}

CKpNode* CSTLParser::NewNode(float x, float y, float z) {
    CKpNode* node = new (std::nothrow) CKpNode(m_nextNodeId);
    if (!node) return nullptr;
    ++m_nextNodeId;
    node->SetCp(0);
    node->setCKpPoint(x, y, z);
    node->setIncompleteFlag(0);
    return node;
}

bool CSTLParser::AddFacet(const CSTLFacet& facet) {
    if (m_nextNodeId > INT_MAX - 3 || m_nextElemId == INT_MAX) {
        pMsg()->Create(4, "STL file '%s': node or element ids pass the int range.", name());
        return false;
    }
    CKpNodeStore* nodes = pNodes();
    CKpElemStore* elems = pElems();
    // 1. The orientation every STL element takes.
    if (!m_default) {
        CKpOrientStore* orients = pOrients();
        m_default = orients->findByName("Default");
        if (!m_default) {
            // No id left above the highest: refused as an orientation that
            // cannot be made.
            if (orients->maxId() == INT_MAX) throw std::bad_alloc();
            CKpOrient* orient = new CKpOrient(orients->maxId() + 1);
            orient->setName("Default");
            orient->setType(CKpOrient::TypeDefault);
            if (store_or_free(orients, orient, nullptr, "orientation") != 0) throw std::bad_alloc();
            m_default = orient;
        }
    }
    // 2. Three nodes of their own; coincident ones are merged by the caller.
    int ids[3];
    for (int i = 0; i < 3; ++i) {
        CKpNode* node = NewNode(facet.v[3 * i], facet.v[3 * i + 1], facet.v[3 * i + 2]);
        if (!node) throw std::bad_alloc();
        ids[i] = node->id();
        if (store_or_free(nodes, node, nullptr, "node") != 0) throw std::bad_alloc();
    }
    // 3. The element.
    CKpElem* elem = new CKpElem(m_nextElemId++, 11);
    elem->seteltp(1);
    for (int i = 0; i < 3; ++i) elem->setunid(i, ids[i]);
    elem->pOrient(m_default);
    elem->orientId(m_default->id());
    elem->theta(0.0);
    if (store_or_free(elems, elem, nullptr, "element") != 0) throw std::bad_alloc();
    return true;
}

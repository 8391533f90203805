#include "fileformats/CFiberSimAnsysWriter.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "fileformats/fixed_text.h"
#include "layuplib/CKpDirn.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLyp.h"
#include "layuplib/CKpLypPly.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyElem.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/number_text.h"

CFiberSimAnsysWriter::CFiberSimAnsysWriter() : m_model(nullptr) {}

int CFiberSimAnsysWriter::Write(const char* path, CKpLayup* model) {
    if (!path || !model) return 1;
    m_model = model;
    const std::string failure = std::string("Unable to write to XML file: ") + path;
    if (Open(path) != 0) {
        model->SetMessage(ILayup::eError, failure.c_str());
        return 2;
    }
    const char* name = nullptr;
    if (IVekPlyLayup* layup = model->GetPlyLayup()) name = layup->GetName();
    Begin("Laminate_Layup");
    Attribute("PART_NAME", name && *name ? name : "KelvanorLayup");
    Begin("Orientation");
    Attribute("XYZ", "0.0 0.0 0.0");
    End();
    if (WritePlies() != 0) {
        model->SetMessage(ILayup::eError, "Writing Layup Plies Failed");
        Close();
        return 3;
    }
    End();
    // A full disk or a failing close would leave a truncated document.
    if (Close() != 0) {
        model->SetMessage(ILayup::eError, failure.c_str());
        return 2;
    }
    return 0;
}

int CFiberSimAnsysWriter::WritePlies() {
    CKpLypPlyStore& store = m_model->pLyp()->LypPlys();
    const int n = store.entries();
    for (int i = 0; i < n; ++i) {
        CKpLypPly* lypPly = store[i];
        if (!lypPly || WritePly(lypPly->pPly()) != 0) return 3;
    }
    return 0;
}

int CFiberSimAnsysWriter::WritePly(CKpPly* ply) {
    if (!ply) return 1;
    Begin("Ply");
    Attribute("NAME", ply->GetName());
    if (ply->pMat()) {
        WriteMaterial(ply->pMat());
    } else {
        std::string text = std::string("Ply ") + ply->GetName() + " has no material";
        m_model->SetMessage(ILayup::eWarning, text.c_str());
    }
    WritePlyElements(ply);
    End();
    return 0;
}

int CFiberSimAnsysWriter::WriteMaterial(CKpMat* mat) {
    Begin("Material");
    Attribute("NAME", mat->GetName());
    Attribute("THICKNESS", mat->GetThickness());
    Attribute("CURED_THICKNESS", mat->GetThickness());
    End();
    return 0;
}

int CFiberSimAnsysWriter::WritePlyElements(CKpPly* ply) {
    CKpFacetStore* facets = m_model->pFacs();
    if (facets->entries() == 0) facets->CreateFacets();

    // Point number of every node met so far. A hash map, not a sorted
    // array: inserting into an array costs linear time per new node.
    std::unordered_map<const CKpNode*, int> met;
    std::vector<const CKpNode*> points;
    std::vector<int> triangles;
    std::vector<double> warp, weft;
    const CVekList<CKpPlyElem>& plyElems = ply->PlyElems();
    for (CKpPlyElem* pe = plyElems.First(); pe; pe = plyElems.Next(pe)) {
        CKpElem* elem = pe->pelem();
        if (!elem) continue;
        CKpDirn warpDir, weftDir;
        elem->GetDirection(pe->rotn(), warpDir);
        elem->GetDirection(pe->GetXMLWeftAngle(), weftDir);
        for (int k = 0; k < elem->getnfac(); ++k) {
            const CKpFacet* facet = facets->pFac(elem->getfacs(k));
            if (!facet) continue;
            int ids[3];
            bool complete = true;
            for (int v = 0; v < 3; ++v) {
                const CKpNode* node = facet->getCKpNode(v);
                if (!node) {
                    complete = false;
                    break;
                }
                auto it = met.emplace(node, static_cast<int>(points.size()) + 1);
                if (it.second) points.push_back(node);
                ids[v] = it.first->second;
            }
            if (!complete) continue;
            triangles.insert(triangles.end(), ids, ids + 3);
            warp.push_back(facet->GetAngle(&warpDir));
            weft.push_back(facet->GetAngle(&weftDir));
        }
    }

    // Each record is its numbers as "%lf" / "%d" print them and the "<R/>"
    // that ends it, written in one piece: nothing in it needs escaping.
    static const char kEnd[] = "<R/>\n";
    char line[3 * FIXED6_TEXT_MAX + sizeof kEnd];
    Begin("Mesh_Point_Table");
    Attribute("COUNT", static_cast<int>(points.size()));
    Attribute("RECORD", "XYZ");
    for (const CKpNode* node : points) {
        char* p = FormatFixed6(line, node->getCKpPointX());
        *p++ = ' ';
        p = FormatFixed6(p, node->getCKpPointY());
        *p++ = ' ';
        p = FormatFixed6(p, node->getCKpPointZ());
        std::memcpy(p, kEnd, sizeof kEnd - 1);
        DataVerbatim(line, static_cast<size_t>(p - line) + sizeof kEnd - 1);
    }
    End();
    Begin("Mesh_Polygon_Table");
    Attribute("COUNT", static_cast<int>(triangles.size() / 3));
    Attribute("RECORD", "NODES,WARP,WEFT");
    for (size_t t = 0; t < warp.size(); ++t) {
        char* p = FormatInt(line, triangles[3 * t]);
        *p++ = ' ';
        p = FormatInt(p, triangles[3 * t + 1]);
        *p++ = ' ';
        p = FormatInt(p, triangles[3 * t + 2]);
        *p++ = ',';
        *p++ = ' ';
        p = FormatFixed6(p, warp[t]);
        *p++ = ',';
        *p++ = ' ';
        p = FormatFixed6(p, weft[t]);
        std::memcpy(p, kEnd, sizeof kEnd - 1);
        DataVerbatim(line, static_cast<size_t>(p - line) + sizeof kEnd - 1);
    }
    End();
    return 0;
}

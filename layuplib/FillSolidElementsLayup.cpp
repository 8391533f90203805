// The fill written into a layup model: mid-surface mesh, materials, plies
// and layup.
#include <algorithm>
#include <cstdio>
#include <map>
#include <new>
#include <string>

#include "layuplib/FillSolidElements.h"
#include "layuplib/ILayup.h"
#include "layuplib/IVekMaterialStore.h"
#include "layuplib/IVekPlyLayup.h"
#include "layuplib/IVekPlyStore.h"
#include "layuplib/IVekSelect.h"
#include "layuplib/LinAlg.h"

namespace SolidElements {

int FillSolidElements::CreateLayup(ILayup* layup) {
    if (!layup) {
        Message("CreateLayup: no layup model given");
        return 3;
    }
    try {
        // 1.-2. Layers by name (B's layer wins a name both stackings use) and
        //       the mid-surface elements (column index + 1) holding each name.
        std::map<std::string, const SolidStackingLayer*> layerByName;
        std::map<std::string, std::vector<int>> elemsByName;
        for (const FillSolidStacking* st : {&m_stackingA, &m_stackingB})
            for (int i = 0; i < st->NumLayers(); ++i) {
                layerByName[st->Layer(i).GetName()] = &st->Layer(i);
                elemsByName[st->Layer(i).GetName()];
            }
        for (size_t t = 0; t < m_tubes.size(); ++t)
            for (const SolidElement* e : m_tubes[t]->Elements()) {
                const SolidSection* s = e->GetSection();
                if (!s) continue;
                for (int l = 0; l < s->NumLayers(); ++l)
                    elemsByName[s->Layer(l).GetName()].push_back(static_cast<int>(t) + 1);
            }

        // 3.-4. The mid-surface becomes the model's mesh.
        std::vector<int> nodeIds, elemIds, conn;
        std::vector<double> xyz;
        int perElem = 0;
        if (ExtractMidsurfaceConnectivity(1, 1, nodeIds, xyz, elemIds, conn, perElem) != 0)
            return 1;
        const std::vector<int> patches(elemIds.size(), 0), topologies(elemIds.size(), perElem);
        if (layup->NewLayupMesh(static_cast<int>(nodeIds.size()), nodeIds.data(), xyz.data(),
                                static_cast<int>(elemIds.size()), elemIds.data(), patches.data(),
                                topologies.data(), perElem, conn.data(), 0.0, 0.0) != 0) {
            Message("Could not create the layup mesh");
            return 2;
        }

        // 5. One material per material name and thickness.
        std::map<std::string, double> materials;
        for (const FillSolidStacking* st : {&m_stackingA, &m_stackingB})
            for (int i = 0; i < st->NumLayers(); ++i)
                materials[st->Layer(i).GetPlyMaterial()] = st->Layer(i).GetThickness();
        if (IVekMaterialStore* store = layup->GetMaterialStore())
            for (const auto& m : materials) {
                IVekMaterial* mat = store->New(0);
                if (!mat) continue;
                mat->SetName(m.first.c_str());
                mat->SetThickness(m.second);
                mat->SetType(static_cast<EVekMaterialType>(2));
            }

        // 6. One ply per layer name and connected patch of its elements.
        IVekSelect* select = layup->GetSelect();
        IVekPlyStore* plies = layup->GetPlyStore();
        double reference[3], application[3];
        std::copy(m_refX, m_refX + 3, reference);
        for (int c = 0; c < 3; ++c) application[c] = -m_refZ[c];
        for (auto& named : elemsByName) {
            std::vector<int>& ids = named.second;
            auto layerIt = layerByName.find(named.first);
            if (ids.empty() || layerIt == layerByName.end() || !select || !plies) continue;
            const SolidStackingLayer& layer = *layerIt->second;
            std::sort(ids.begin(), ids.end());
            ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
            select->Clear();
            select->SetElementIds(static_cast<int>(ids.size()), ids.data());
            select->Run();
            int groups = 0;
            select->GetNumSelectionGroups(&groups);
            for (int g = 0; g < groups; ++g) {
                int nb = 0, ni = 0;
                if (select->GetNumElements(g, &nb, &ni) != 0 || nb < 0 || ni < 0) continue;
                std::vector<int> group(static_cast<size_t>(nb) + static_cast<size_t>(ni));
                select->GetElementIds(g, nb, group.data(), ni, group.data() + nb);
                if (group.empty()) continue;
                IVekPly* ply = plies->New();
                if (!ply) continue;
                std::string name = named.first;
                if (g > 0) name += "_" + std::to_string(g + 1);
                ply->SetName(name.c_str());
                const std::vector<int> orders(group.size(), 0);
                ply->SetElementIdsOrders(static_cast<int>(group.size()), group.data(),
                                         orders.data());
                ply->SetType(static_cast<EVekMaterialType>(2));
                double seed[3] = {0.0, 0.0, 0.0};
                const size_t tube = static_cast<size_t>(group.front() - 1);
                if (tube < m_tubes.size()) m_tubes[tube]->GetMidpoint(seed);
                ply->SetSeedPoint(seed);
                ply->SetApplicationDirection(application);
                ply->SetReferenceDirection(reference);
                ply->SetMaterialName(layer.GetPlyMaterial().c_str());
                ply->SetReferenceAngle(layer.GetAngle());
                ply->Simulate();
            }
        }

        // 7. The layup in stacking order, bottom first; each layer once for
        //    every time a stacking holds it.
        std::vector<const SolidStackingLayer*> order;
        auto take = [&](const FillSolidStacking& st, bool reversed) {
            const int n = st.NumLayers();
            for (int i = 0; i < n; ++i) order.push_back(&st.Layer(reversed ? n - 1 - i : i));
        };
        switch (m_mode) {
            case eFromBottom:
                take(m_stackingA, false);
                break;
            case eFromTop:
                take(m_stackingA, true);
                break;
            case eBottomAndTop:
                take(m_stackingA, false);
                take(m_stackingB, true);
                break;
            case eFromMidplane:
                take(m_stackingA, true);
                take(m_stackingB, false);
                break;
            default:
                break;
        }
        std::vector<const char*> names;
        std::vector<int> sides;
        for (const SolidStackingLayer* layer : order) {
            const std::vector<int>& ids = elemsByName[layer->GetName()];
            if (ids.empty()) continue;
            names.push_back(layer->GetName().c_str());
            const int lowest = *std::min_element(ids.begin(), ids.end());
            double normal[3] = {0.0, 0.0, 0.0};
            m_tubes[static_cast<size_t>(lowest - 1)]->GetMidNormal(normal);
            sides.push_back(LinAlg::DotProduct(normal, m_refZ) >= 0.0 ? 1 : -1);
        }
        const size_t n = names.size();
        const std::vector<const char*> empty(n, "");
        const std::vector<int> types(n, 2), ones(n, 1), zeroInts(n, 0);
        const std::vector<double> zeros(n, 0.0);
        if (IVekPlyLayup* stack = layup->GetPlyLayup())
            stack->Create(static_cast<int>(n), empty.data(), empty.data(), types.data(),
                          names.data(), ones.data(), sides.data(), zeros.data(), zeros.data(),
                          zeroInts.data());
    } catch (const std::bad_alloc&) {
        Message("CreateLayup: out of memory");
        return 4;
    }
    return 0;
}

}  // namespace SolidElements

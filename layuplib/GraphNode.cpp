#include "layuplib/GraphNode.h"

#include <algorithm>
#include <cmath>

namespace Layup {

double GraphNode::Distance(const GraphNode& other) const {
    if (!m_xyz || !other.m_xyz) return 0.0;
    const double dx = m_xyz[0] - other.m_xyz[0];
    const double dy = m_xyz[1] - other.m_xyz[1];
    const double dz = m_xyz[2] - other.m_xyz[2];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

void GraphNode::insertRelation(int position, double length) {
    auto at = std::lower_bound(m_relations.begin(), m_relations.end(), position,
                               [](const std::pair<int, double>& r, int p) { return r.first < p; });
    m_relations.insert(at, {position, length});
}

void GraphNode::AddRelation(GraphNode& other) {
    if (&other == this) return;
    auto at = std::lower_bound(m_relations.begin(), m_relations.end(), other.m_position,
                               [](const std::pair<int, double>& r, int p) { return r.first < p; });
    if (at != m_relations.end() && at->first == other.m_position) return;
    const double length = Distance(other);
    m_relations.insert(at, {other.m_position, length});
    other.insertRelation(m_position, length);
}

}  // namespace Layup

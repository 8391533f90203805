#include "layuplib/CKpBdyNode.h"

CKpBdyNode::CKpBdyNode(CKpNode* node, int edge, double ratio)
    : node(node), edge(edge), ratio(ratio) {}

CKpBdyNode::~CKpBdyNode() = default;

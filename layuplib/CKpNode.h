#ifndef PLYSTRAND_LAYUPLIB_CKPNODE_H
#define PLYSTRAND_LAYUPLIB_CKPNODE_H

#include <cstddef>
#include <new>

#include "layuplib/CKpBlockPool.h"
#include "layuplib/CKpDirn.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/CVekObject.h"

class CKpFacRefStore;

// CKpNode: one node of the layup mesh, held by id in the model's
// CKpNodeStore. It carries its position, the coordinate frame that position
// was given in, a direction (node normal of selected regions, used by
// offsets), offset values, the facets meeting at it (only while neighbours
// are searched), a merge link and a flag for nodes not yet placed.
class CKpNode : public CVekObject {
  public:
    // Mesh objects come by the million: they live in blocks (CKpBlockPool).
    CKP_BLOCK_POOLED

    // Largest text `write` produces, terminator included.
    enum { WRITE_MAX = 128 };

    // A node of `id` at (0, 0, 0) in the basic frame, direction (0, 0, 0),
    // offsets 0.0, no merge link, no facet references, incomplete flag 1.
    explicit CKpNode(int id);
    // Deletes the facet references.
    ~CKpNode() override;
    CKpNode(const CKpNode&) = delete;
    CKpNode& operator=(const CKpNode&) = delete;

    // Position (model length units, in the frame `GetCp`). getCKpPoint
    // points into the node: the position is read and written in place.
    CKpPoint* getCKpPoint() { return &point; }
    const CKpPoint* getCKpPoint() const { return &point; }
    double getCKpPointX() const { return point.getx(); }
    double getCKpPointY() const { return point.gety(); }
    double getCKpPointZ() const { return point.getz(); }
    void setCKpPoint(double x, double y, double z) { point.Set(x, y, z); }
    void setCKpPoint(CKpPoint p) { point = p; }

    // Node direction; (0, 0, 0) until computed (not kept at unit length by
    // the node: CreateSelNodeNormals stores a unit vector). getCKpDirn
    // points into the node: the direction is read and written in place.
    CKpDirn* getCKpDirn() { return &direction; }
    const CKpDirn* getCKpDirn() const { return &direction; }
    double getCKpDirnX() const { return direction.getx(); }
    double getCKpDirnY() const { return direction.gety(); }
    double getCKpDirnZ() const { return direction.getz(); }
    void setCKpDirn(double x, double y, double z) { direction.Set(x, y, z); }
    void setCKpDirn(CKpDirn d) { direction = d; }

    // Id of the coordinate frame of the position; 0 basic.
    int GetCp() const { return Cp; }
    void SetCp(int cp) { Cp = cp; }

    // The node this one was merged into; null for a node of its own. Not
    // owned.
    CKpNode* getMerge() const { return merge; }
    void setMerge(CKpNode* node) { merge = node; }

    // Largest and smallest offset at the node (model length units), and the
    // node's offset factor.
    double getmax_off() const { return max_off; }
    void setmax_off(double v) { max_off = v; }
    double getmin_off() const { return min_off; }
    void setmin_off(double v) { min_off = v; }
    double getfac_off() const { return fac_off; }

    // 1 for a node made by the constructor (or CKpNodeStore::NewNode) and not
    // yet given its position, 0 otherwise.
    int incomplete() const { return incompleteFlag; }
    void setIncompleteFlag(int flag) { incompleteFlag = flag; }

    // The list of facets meeting at the node, created empty on the first call
    // and owned by the node. Null only when it cannot be allocated.
    CKpFacRefStore* FacRefs();
    // Deletes the list (and its items); the next FacRefs starts a new one.
    void delFacRefs();

    // Deletes the nodes of both arrays (`a`, na entries, and `b`, nb; no
    // null, no node twice, each made by new) as `delete` of each would,
    // when every one is of this very class and holds no facet references:
    // their destructors would then only give their slots back, which
    // happens here without a call or a write per node (at once when they
    // are all the pool hands out). The caller holds pool(). False, changing
    // nothing, when a node is of another class or has facet references.
    static bool DeletePlain(CVekObject* const* a, size_t na, CVekObject* const* b,
                            size_t nb) noexcept;

    // x + y + z: the key by which coincident nodes are found.
    double Pos() const { return point.getx() + point.gety() + point.getz(); }

    // Formats the NODE record of the layup file into `buffer` (replacing its
    // content), three lines each ended by '\n':
    //   "100 NODE"
    //   "101 <index> <id>"
    //   "102 <x> <y> <z>"       (x, y, z with "%.8G")
    // `index` is the running number the caller gives. `size` is the capacity
    // of `buffer` in bytes; at most WRITE_MAX bytes are ever needed.
    // Returns the length written (terminator excluded); -1 when `buffer` is
    // null or `size` is too small (then `buffer` holds "" when size > 0).
    int write(char* buffer, size_t size, int index) const;
    // As above with a buffer of at least WRITE_MAX bytes.
    int write(char* buffer, int index) const { return write(buffer, WRITE_MAX, index); }

  private:
    int Cp;
    CKpNode* merge;
    CKpPoint point;
    CKpDirn direction;
    double max_off;
    double min_off;
    double fac_off;
    CKpFacRefStore* facRefs;
    int incompleteFlag;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPNODE_H

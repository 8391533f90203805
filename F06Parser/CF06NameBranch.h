#ifndef PLYSTRAND_F06PARSER_CF06NAMEBRANCH_H
#define PLYSTRAND_F06PARSER_CF06NAMEBRANCH_H

#include "layuplib/CVekTemplateArray.h"

class CKpRes;
class CKpResElem;

// CF06NameBranch: a tree over the five result name levels. A node of level
// L (0..4) has children that differ in name L; a node of level 5 is a leaf
// that stands for one stored result and files element records into it.
// The root has level 0. A node owns its children, not the results.
class CF06NameBranch {
  public:
    explicit CF06NameBranch(int level = 0, CKpRes* res = nullptr);
    CF06NameBranch(const CF06NameBranch&) = delete;
    CF06NameBranch& operator=(const CF06NameBranch&) = delete;

    // Follows `res`'s names down the tree (creating the missing nodes) and
    // files `elem` into the result the leaf stands for: 1 when a leaf was
    // created (`res` becomes that result: the caller stores it), 0 when an
    // existing result took the record (the caller keeps `res`), -1 for null
    // arguments. An existing record of the same element is overwritten and
    // `elem` deleted; otherwise the result owns `elem`.
    int InsertElem(CKpRes* res, CKpResElem* elem);
    // Removes the leaf that `res`'s names lead to (with the nodes above it
    // that hold nothing else). 0, or -1 when there is none.
    int RemoveBranch(CKpRes* res);

    int GetLevel() const { return m_level; }
    CKpRes* GetRes() const { return m_res; }

  private:
    // The child whose result has the same name at this node's level (the
    // last added first), or null.
    CF06NameBranch* FindChild(const CKpRes* res) const;

    int m_level;
    CKpRes* m_res;
    CVekTemplateArray<CF06NameBranch> m_children;
};

#endif  // PLYSTRAND_F06PARSER_CF06NAMEBRANCH_H

#ifndef PLYSTRAND_F06PARSER_CF06RESBRANCH_H
#define PLYSTRAND_F06PARSER_CF06RESBRANCH_H

#include <string>

#include "layuplib/CVekSortedArray.h"

class CKpRes;

// CF06ResBranch: maps a stored result to its compare key, the result's names
// 4, 3, 2, 1 and 0 in that order. Each name is followed by a 0x01 byte, so
// names of any length are compared whole and "ab"+"c" differs from "a"+"bc".
class CF06ResBranch {
  public:
    // The key of `res` (names as they are now); the result is not owned.
    explicit CF06ResBranch(CKpRes* res);
    CKpRes* GetRes() const { return m_res; }
    const char* GetSortName() const { return m_key.c_str(); }
    int GetKeyLength() const { return static_cast<int>(m_key.size()); }
    // The key `res` has now (names 4..0).
    static std::string MakeKey(const CKpRes* res);

  private:
    CKpRes* m_res;
    std::string m_key;
};

// Branches in key order; owns the branches (not the results).
using CF06ResBranchArray = CVekSortedArray<CF06ResBranch>;

#endif  // PLYSTRAND_F06PARSER_CF06RESBRANCH_H

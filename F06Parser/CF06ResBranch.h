#ifndef PLYSTRAND_F06PARSER_CF06RESBRANCH_H
#define PLYSTRAND_F06PARSER_CF06RESBRANCH_H

#include <string>
#include <utility>

#include "layuplib/CVekSortedArray.h"

class CKpRes;

// CF06ResBranch: maps a stored result to its compare key, the result's names
// 4, 3, 2, 1 and 0 in that order. Each name is followed by a 0x01 byte, so
// names of any length are compared whole and "ab"+"c" differs from "a"+"bc".
class CF06ResBranch {
  public:
    // The key of `res` (names as they are now); the result is not owned.
    explicit CF06ResBranch(CKpRes* res);
    // A branch of `res` under a key already built.
    CF06ResBranch(CKpRes* res, std::string key) : m_res(res), m_key(std::move(key)) {}
    CKpRes* GetRes() const { return m_res; }
    const char* GetSortName() const { return m_key.c_str(); }
    int GetKeyLength() const { return static_cast<int>(m_key.size()); }
    // The key `res` has now (names 4..0).
    static std::string MakeKey(const CKpRes* res);
    // The same into `key` (its buffer reused).
    static void MakeKey(const CKpRes* res, std::string& key);

  private:
    CKpRes* m_res;
    std::string m_key;
};

// Branches in key order; owns the branches (not the results). Remembers
// the branch found last: readers file runs of records under one result.
class CF06ResBranchArray : public CVekSortedArray<CF06ResBranch> {
  public:
    CF06ResBranch* m_last = nullptr;
    std::string m_key;  // work key of the lookups
};

#endif  // PLYSTRAND_F06PARSER_CF06RESBRANCH_H

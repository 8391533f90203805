#ifndef PLYSTRAND_F06PARSER_CLAMGPLYIDS_H
#define PLYSTRAND_F06PARSER_CLAMGPLYIDS_H

#include "layuplib/CVekObject.h"
#include "layuplib/CVekObjectStore.h"

// CLamGplyids: where the global ply ids of one laminate (the object id)
// lie in the binary output's global ply id array: `count` ids from `base`.
class CLamGplyids : public CVekObject {
  public:
    CLamGplyids(int id, int base, int count) : CVekObject(id), m_base(base), m_count(count) {}
    int GetBase() const { return m_base; }
    int GetCount() const { return m_count; }

  private:
    int m_base;
    int m_count;
};

// Ranges by laminate id; owns them.
class CLamGplyidsStore : public CVekObjectStore<CLamGplyids> {
  public:
    CLamGplyidsStore() : CVekObjectStore<CLamGplyids>(16) {}
    ~CLamGplyidsStore() override { eraseAllObjects(); }
    CLamGplyidsStore(const CLamGplyidsStore&) = delete;
    CLamGplyidsStore& operator=(const CLamGplyidsStore&) = delete;
};

#endif  // PLYSTRAND_F06PARSER_CLAMGPLYIDS_H

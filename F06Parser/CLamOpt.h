#ifndef PLYSTRAND_F06PARSER_CLAMOPT_H
#define PLYSTRAND_F06PARSER_CLAMOPT_H

#include "layuplib/CVekObject.h"
#include "layuplib/CVekObjectStore.h"

// CLamOpt: a laminate id and the model's laminate option code for it, kept
// while the binary output's property tables are read and applied after.
class CLamOpt : public CVekObject {
  public:
    CLamOpt(int id, int option) : CVekObject(id), m_option(option) {}
    int GetOption() const { return m_option; }

  private:
    int m_option;
};

// Options by laminate id; owns them.
class CLamOptStore : public CVekObjectStore<CLamOpt> {
  public:
    CLamOptStore() : CVekObjectStore<CLamOpt>(16) {}
    ~CLamOptStore() override { eraseAllObjects(); }
    CLamOptStore(const CLamOptStore&) = delete;
    CLamOptStore& operator=(const CLamOptStore&) = delete;
};

#endif  // PLYSTRAND_F06PARSER_CLAMOPT_H

#ifndef PLYSTRAND_LAYUPLIB_CKPMSGLINESTORE_H
#define PLYSTRAND_LAYUPLIB_CKPMSGLINESTORE_H

#include "layuplib/CKpMsgLine.h"
#include "layuplib/CVekList.h"

// CKpMsgLineStore: the bounded in-memory store of warnings and errors, read
// back oldest first. It owns its lines (the list's items), oldest first.
class CKpMsgLineStore : public CVekList<CKpMsgLine> {
  public:
    // Empty; maximum count 100, maximum age 0 (no limit).
    CKpMsgLineStore();
    // Deletes every line.
    ~CKpMsgLineStore();

    // `maxCount`: lines kept at most (below 1: the store keeps nothing);
    // `maxAge`: seconds (0 no limit). Lines already stored stay until the
    // next AddMessage trims them.
    void SetParams(int maxCount, double maxAge);

    // Drops the oldest lines until there is room, then appends a line with
    // `level` and `text` ("" for null) stamped with the current time. With a
    // maximum count below 1, or when the line cannot be allocated, nothing is
    // stored.
    void AddMessage(int level, const char* text);

    // Takes the oldest line out of the store into `*level` and `text`
    // (at most textSize - 1 characters and a terminating zero) and deletes it.
    // When `age` > 0, lines older than `age` seconds are deleted on the way
    // and the next oldest taken instead. A null `level` is not written.
    // Returns 0 on success; 1 when the store is empty, or when `text` is null
    // or `textSize` <= 0 (then nothing is taken or deleted); 2 when every
    // line was older than `age` (the store is then empty).
    int GetFirstMessage(double age, int* level, char* text, int textSize);

    // Deletes every line.
    void Flush();

  private:
    int m_maxCount;
    double m_maxAge;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPMSGLINESTORE_H

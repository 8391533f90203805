#ifndef PLYSTRAND_LAYUPLIB_CKPMSGLINE_H
#define PLYSTRAND_LAYUPLIB_CKPMSGLINE_H

#include <cstdint>

#include "layuplib/CKpStr.h"
#include "layuplib/CVekListItem.h"

// CKpMsgLine: one warning or error kept in the message store
// (CKpMsgLineStore), with the time at which it was stored.
class CKpMsgLine : public CVekListItem {
  public:
    // `level`: severity (2 warning, 4 error); `text` copied ("" for null);
    // `time`: seconds of the calendar clock (std::time) when it was stored.
    CKpMsgLine(int level, const char* text, int64_t time);
    ~CKpMsgLine() override;

    int64_t GetTime() const { return m_time; }
    int GetLevel() const { return m_level; }
    const CKpStr& GetText() const { return m_text; }

  private:
    int64_t m_time;
    int m_level;
    CKpStr m_text;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPMSGLINE_H

#ifndef PLYSTRAND_LAYUPLIB_CKPEVENT_H
#define PLYSTRAND_LAYUPLIB_CKPEVENT_H

#include "layuplib/CVekObject.h"
#include "layuplib/IVekEvent.h"

// CKpEvent: one event recorded on a ply (for example its replacement by
// another ply): an id and a type code (EVekEventType). The ply's event
// store owns it.
class CKpEvent : public IVekEvent, public CVekObject {
  public:
    // Type 0.
    explicit CKpEvent(int id) : CVekObject(id), m_type(0) {}
    ~CKpEvent() override;

    CKpEvent(const CKpEvent&) = delete;
    CKpEvent& operator=(const CKpEvent&) = delete;

    // ---- IVekEvent
    // The type code.
    int GetType() override;

    int type() const { return m_type; }
    void setType(int type) { m_type = type; }

  private:
    int m_type;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPEVENT_H

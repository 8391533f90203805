#ifndef PLYSTRAND_LAYUPLIB_IVEKEVENT_H
#define PLYSTRAND_LAYUPLIB_IVEKEVENT_H

// IVekEvent: what outside clients see of one event recorded on a ply. The
// event belongs to the ply's event store: clients never delete it.
class IVekEvent {
  public:
    // The event type (EVekEventType). The codes are the callers' own; the
    // system itself records 2 when a ply replaces another one
    // (IVekPlyStore::Replace).
    virtual int GetType() = 0;

  protected:
    ~IVekEvent() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKEVENT_H

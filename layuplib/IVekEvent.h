#ifndef PLYSTRAND_LAYUPLIB_IVEKEVENT_H
#define PLYSTRAND_LAYUPLIB_IVEKEVENT_H

// IVekEvent: what outside clients see of one event recorded on a ply.
class IVekEvent {
  public:
    virtual ~IVekEvent() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKEVENT_H

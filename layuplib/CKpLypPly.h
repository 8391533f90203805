#ifndef PLYSTRAND_LAYUPLIB_CKPLYPPLY_H
#define PLYSTRAND_LAYUPLIB_CKPLYPPLY_H

#include "layuplib/CKpStr.h"
#include "layuplib/CVekObject.h"
#include "layuplib/IVekLayupPly.h"

class CKpPly;

// CKpLypPly: one placement of a ply in the layup (a layup ply): the ply, the
// side of the reference surface on which it is stacked, an angle offset, a
// thickness override, a global ply id, two free labels (ply group,
// sequence) and the instance number (1 for the first placement of a ply, 2
// for the second, ...). Its id is its position key in the layup. The ply is
// held, not owned; the layup's store owns the layup ply.
class CKpLypPly : public IVekLayupPly, public CVekObject {
  public:
    // A layup ply with the given id: empty labels and names, no ply (type
    // and ply id 0), instance 0, side 0, thickness override, angle offset and
    // global ply id 0.
    explicit CKpLypPly(int id);
    ~CKpLypPly() override;

    CKpLypPly(const CKpLypPly&) = delete;
    CKpLypPly& operator=(const CKpLypPly&) = delete;

    // Free labels ("" when unset).
    const char* plyGroup() const { return m_plyGroup; }
    void setPlyGroup(const char* text) { m_plyGroup = text ? text : ""; }
    const char* sequence() const { return m_sequence; }
    void setSequence(const char* text) { m_sequence = text ? text : ""; }

    // Default name ("gl%d" with the id once placed; "" when unset).
    const char* defaultName() const { return m_defaultName; }
    void setDefaultName(const char* name) { m_defaultName = name ? name : ""; }

    // The ply (not owned; null when none). setPly links it and copies its
    // type and id; a null ply unlinks and keeps the copies.
    CKpPly* pPly() const { return m_ply; }
    void setPly(CKpPly* ply);

    // Ply type and ply id: from the linked ply, else the stored copies.
    int lyrtp() const;
    int lyrid() const;
    void setLyrtp(int type) { m_plyType = type; }
    void setLyrid(int id) { m_plyId = id; }
    // The ply's name ("" without ply) and start-direction flag (0 without ply).
    const char* lyrnm() const;
    int stdn() const;

    // Instance number of this placement.
    int instance() const { return m_instance; }
    void setInstance(int n) { m_instance = n; }

    // Side of the reference surface: +1 or -1. sideNotZero: -1 for a
    // negative side, else 1.
    int side() const { return m_side; }
    void setSide(int side) { m_side = side; }
    int sideNotZero() const { return m_side < 0 ? -1 : 1; }

    // Thickness used instead of the element's when greater than 0.
    double thicknessOverride() const { return m_thckOverride; }
    void setThicknessOverride(double t) { m_thckOverride = t; }

    // Angle offset (radians), added to the fibre angle signed by the
    // element's direction.
    double angleOffset() const { return m_angleOffset; }
    void setAngleOffset(double a) { m_angleOffset = a; }

    // Global ply id.
    int gplyid() const { return m_gplyid; }
    void setGplyid(int id) { m_gplyid = id; }

    // The ply name, followed by "_" and the instance number when the
    // instance is above 1; the default name without ply. The text is kept
    // in the layup ply's name buffer and stays valid until the next call
    // (an allocation failure gives "").
    const char* GetPlyNameInstance();

    // ---- IVekLayupPly, in slot order
    const char* GetPlyGroup() override;
    const char* GetSequence() override;
    const char* GetName() override;
    EVekMaterialType GetType() override;
    const char* GetPlyName() override;
    int GetInstance() override;
    int GetSide() override;
    double GetAngleOffset() override;
    double GetThicknessOverride() override;
    int GetGlobalPlyID() override;
    int GetNumElements() override;
    int GetThicksOrients(int n, int* vertexCounts, double* lowerPoints, double* middlePoints,
                         double* upperPoints, double* midpoints, double* warpDirections,
                         double* weftDirections, double* sizes) override;

  private:
    CKpStr m_plyGroup;
    CKpStr m_sequence;
    CKpStr m_nameBuf;  // holds the text handed out as the layup ply's name
    CKpStr m_defaultName;
    int m_plyType;
    int m_plyId;
    CKpPly* m_ply;  // not owned
    int m_instance;
    int m_side;
    double m_thckOverride;
    double m_angleOffset;
    int m_gplyid;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPLYPPLY_H

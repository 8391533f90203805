#ifndef PLYSTRAND_LAYUPLIB_CKPPAT_H
#define PLYSTRAND_LAYUPLIB_CKPPAT_H

#include "layuplib/CKpStr.h"
#include "layuplib/CVekObject.h"

class CKpAxis;
class CKpElemEdgeStore;
class CKpPatElemStore;
class CKpPatSplitStore;
class CKpPoint;

// CKpPat: the drape definition of one ply and what its last simulation
// produced. The definition: type, method, seed point and directions,
// reference direction and angle, warp-weft angle and ratio, step, shear
// limit, extension and inadmissible-point options, bounds, seed curves and
// split edges. The result: start point and fibre directions, strain and
// thickness range, result code, and per covered element the fibre angles,
// shear and order (the pattern elements). Every ply owns exactly one pattern,
// kept in the model's pattern store. Points and directions are in the basic
// frame; angles are radians.
class CKpPat : public CVekObject {
  public:
    // A pattern with the given id and every default: empty name and texts,
    // the ints 0 but the start facet -1 and the simulation result -1 (never
    // simulated), the reals 0 but the warp-weft ratio 1.0, empty lists of
    // pattern elements, split edges and both seed curves (null only when
    // they could not be allocated).
    explicit CKpPat(int id);
    // A pattern with all its values, as read from a file or imported: id,
    // type, name, method (axstp), extension type, start point, start warp
    // and weft directions, seed (eye) point, application direction,
    // reference direction (3 doubles each, read; a null array gives 0),
    // reference angle, warp-weft angle, maximum strain, step,
    // start-direction flag, the grid state (mid, minu, maxu, minv, maxv),
    // the strain range, the thickness range and the bounds (minwp, maxwp,
    // minwt, maxwt). Everything else as the id constructor: ratio 1.0,
    // reference step 0, start facet -1, simulation result -1, no origin.
    CKpPat(int id, int type, const char* name, int method, int extType, const double* st,
           const double* stwpd, const double* stwtd, const double* eye, const double* eyed,
           const double* refd, double refang, double stwpwtang, double maxstrn, double step,
           int stdn, int mid, int minu, int maxu, int minv, int maxv, double minstrnc,
           double maxstrnc, double minthck, double maxthck, double minwp, double maxwp,
           double minwt, double maxwt);
    // Deletes the pattern elements, the split edges and both seed-curve
    // lists.
    ~CKpPat() override;

    CKpPat(const CKpPat&) = delete;
    CKpPat& operator=(const CKpPat&) = delete;

    // Name: the ply name + "_pattern" ("" when unset).
    const char* pttrnnm() const { return m_pttrnnm; }
    void setPttrnnm(const char* name) { m_pttrnnm = name ? name : ""; }
    // Names the pattern after its ply: plyName + "_pattern" (a null name
    // counts as ""). 0; -1 when the text cannot be stored (name unchanged).
    int SetNameByPlyName(const char* plyName);
    // Type (EVekMaterialType), kept equal to the ply type: 1 painted,
    // 2 projected, 3 draped, 4 draped with warp and weft at 90 degrees.
    int lyrtp() const { return m_lyrtp; }
    void setLyrtp(int type) { m_lyrtp = type; }
    // Projection method of a projected pattern, seed-curve type of a draped
    // one (one field).
    int axstp() const { return m_axstp; }
    void setAxstp(int method) { m_axstp = method; }
    // Seed-curve direction word: "Calc", "Warp", "Bias", "Weft", "Bias2" or
    // an angle in degrees as text ("" when unset).
    const char* axsdn() const { return m_axsdn; }
    void setAxsdn(const char* text) { m_axsdn = text ? text : ""; }
    // Extension type (EVekPlyExtensionType).
    int exttp() const { return m_exttp; }
    void setExttp(int type) { m_exttp = type; }

    // Seed (eye) point.
    double eyex() const { return m_eye[0]; }
    double eyey() const { return m_eye[1]; }
    double eyez() const { return m_eye[2]; }
    void setEye(double x, double y, double z) { set3(m_eye, x, y, z); }
    // Coordinate origin: flag (0 until an origin is given, then raised by
    // each SetCoordOriginName), name, point (3 doubles).
    int originSet() const { return m_originSet; }
    const char* originName() const { return m_originName; }
    const double* origin() const { return m_origin; }
    // Forgets the origin: flag 0, name emptied, point (0, 0, 0).
    void Clear();
    // Raises the origin flag and stores `name` (null: "") and the point
    // `xyz` (3 doubles, read). 0; -1 for a null `xyz` (nothing changes).
    int SetCoordOriginName(const double* xyz, const char* name);
    // The origin: 1 when none was ever set; 2 when `buffer` is null;
    // otherwise copies the name into `buffer` (room for `size` bytes: at
    // most size - 1 characters and the terminator; nothing when size is
    // below 1) and the point into `xyz` (3 doubles, written; skipped when
    // null), 0.
    int GetCoordOriginName(double* xyz, char* buffer, int size) const;
    // Application (eye) direction.
    double eyedx() const { return m_eyed[0]; }
    double eyedy() const { return m_eyed[1]; }
    double eyedz() const { return m_eyed[2]; }
    void setEyed(double x, double y, double z) { set3(m_eyed, x, y, z); }
    // Reference direction and reference angle.
    double refdx() const { return m_refd[0]; }
    double refdy() const { return m_refd[1]; }
    double refdz() const { return m_refd[2]; }
    void setRefd(double x, double y, double z) { set3(m_refd, x, y, z); }
    double refang() const { return m_refang; }
    void setRefang(double a) { m_refang = a; }
    // Warp-weft angle, warp-weft ratio (warp step / weft step), maximum
    // shear strain.
    double stwpwtang() const { return m_stwpwtang; }
    void setStwpwtang(double a) { m_stwpwtang = a; }
    double WarpWeftRatio() const { return m_warpWeftRatio; }
    void setWarpWeftRatio(double r) { m_warpWeftRatio = r; }
    double maxstrn() const { return m_maxstrn; }
    void setMaxstrn(double s) { m_maxstrn = s; }
    // Drape step: when positive the step itself; 0 or less a multiple of the
    // reference step (the default step of the selected surface, written by
    // the simulation). stepUsed: step when positive, else -step x reference
    // step.
    double step() const { return m_step; }
    void setStep(double s) { m_step = s; }
    double refStep() const { return m_refStep; }
    void setDefaultStep(double s) { m_refStep = s; }
    double stepUsed() const { return m_step > 0.0 ? m_step : -m_step * m_refStep; }

    // Written by the simulation: start facet (-1 none), start-direction flag
    // (+1 or -1, 0 unset), start point, start warp and weft directions.
    int stft() const { return m_stft; }
    void setStft(int facet) { m_stft = facet; }
    int stdn() const { return m_stdn; }
    void setStdn(int stdn) { m_stdn = stdn; }
    double stx() const { return m_st[0]; }
    double sty() const { return m_st[1]; }
    double stz() const { return m_st[2]; }
    double stwpdx() const { return m_stwpd[0]; }
    double stwpdy() const { return m_stwpd[1]; }
    double stwpdz() const { return m_stwpd[2]; }
    double stwtdx() const { return m_stwtd[0]; }
    double stwtdy() const { return m_stwtd[1]; }
    double stwtdz() const { return m_stwtd[2]; }
    void SetStartPoint(const CKpPoint& point);
    void setStwpd(double x, double y, double z) { set3(m_stwpd, x, y, z); }
    void setStwtd(double x, double y, double z) { set3(m_stwtd, x, y, z); }
    // The start warp direction from a fibre axis: its second point minus its
    // first. 0; -1 when the axis has fewer than two points (unchanged).
    int SetStartWarpDirection(const CKpAxis& axis);
    // The same for the weft, kept by draped patterns of type 3 only: 1 for
    // any other type (unchanged); -1 as above.
    int SetStartWeftDirection(const CKpAxis& axis);
    // The start point (st, not the seed point) and the application
    // direction, 3 doubles each (written; nothing for null).
    void GetEyePoint(double* xyz) const;
    void GetEyeDirn(double* xyz) const;

    // Drape grid state: 0 or the grid's index bounds.
    int mid() const { return m_mid; }
    int minu() const { return m_minu; }
    int maxu() const { return m_maxu; }
    int minv() const { return m_minv; }
    int maxv() const { return m_maxv; }
    void setMid(int mid, int minu, int maxu, int minv, int maxv);
    // Shear strain and thickness range of the last simulation.
    double minstrnc() const { return m_minstrnc; }
    double maxstrnc() const { return m_maxstrnc; }
    double minthck() const { return m_minthck; }
    double maxthck() const { return m_maxthck; }
    void setMinstrnc(double s) { m_minstrnc = s; }
    void setMaxstrnc(double s) { m_maxstrnc = s; }
    void setMinthck(double t) { m_minthck = t; }
    void setMaxthck(double t) { m_maxthck = t; }
    // Bounds along warp and weft, lengths from the start point.
    double minwp() const { return m_minwp; }
    double maxwp() const { return m_maxwp; }
    double minwt() const { return m_minwt; }
    double maxwt() const { return m_maxwt; }
    void setMinwp(double v) { m_minwp = v; }
    void setMaxwp(double v) { m_maxwp = v; }
    void setMinwt(double v) { m_minwt = v; }
    void setMaxwt(double v) { m_maxwt = v; }

    // Turns a painted pattern (type 1) into a projected one: type 2,
    // reference direction (1, 0, 0), reference angle 0, method 7. 0; 1 for
    // a pattern of any other type (unchanged).
    int ConvertPaintedToProjected();

    // The covered elements and the split edges (owned); the seed-curve edge
    // lists 0 and 1 (owned; null for an index other than 0 or 1, or when a
    // list could not be allocated).
    CKpPatElemStore* PatElems() const { return m_patElems; }
    CKpPatSplitStore* PatSplits() const { return m_patSplits; }
    CKpElemEdgeStore* SeedCurve(int i) const {
        return (i == 0 || i == 1) ? m_seedCurve[i] : nullptr;
    }

    // Simulation result: -1 never simulated, 0 success, other values failure.
    int SimResult() const { return m_simResult; }
    void setSimResult(int result) { m_simResult = result; }
    // Inadmissible-point mode (EVekPlyInadmissibleMode) and tolerance.
    int inadmissibleMode() const { return m_inadmMode; }
    void setInadmissibleMode(int mode) { m_inadmMode = mode; }
    double inadmissibleTolerance() const { return m_inadmTol; }
    void setInadmissibleTolerance(double tol) { m_inadmTol = tol; }

  private:
    static void set3(double* v, double x, double y, double z) {
        v[0] = x;
        v[1] = y;
        v[2] = z;
    }

    CKpStr m_pttrnnm;
    int m_lyrtp;
    int m_axstp;
    CKpStr m_axsdn;
    int m_exttp;
    double m_eye[3];
    int m_originSet;
    CKpStr m_originName;
    double m_origin[3];
    double m_eyed[3];
    double m_refd[3];
    double m_refang;
    double m_stwpwtang;
    double m_warpWeftRatio;
    double m_maxstrn;
    double m_step;
    double m_refStep;
    int m_stft;
    int m_stdn;
    double m_st[3];
    double m_stwpd[3];
    double m_stwtd[3];
    int m_mid, m_minu, m_maxu, m_minv, m_maxv;
    double m_minstrnc, m_maxstrnc;
    double m_minthck, m_maxthck;
    double m_minwp, m_maxwp, m_minwt, m_maxwt;
    CKpPatElemStore* m_patElems;       // owned
    CKpPatSplitStore* m_patSplits;     // owned
    CKpElemEdgeStore* m_seedCurve[2];  // owned; null only when not allocated
    int m_simResult;
    int m_inadmMode;
    double m_inadmTol;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPAT_H

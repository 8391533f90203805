#ifndef PLYSTRAND_LAYUPLIB_CKPPROPGENSET_H
#define PLYSTRAND_LAYUPLIB_CKPPROPGENSET_H

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpIdStore.h"
#include "layuplib/CKpStr.h"
#include "layuplib/IVekPropGenSet.h"

class CKpLayup;

// CKpPropGenSet: the settings of one property generation run, which turns
// the per-element ply stacks of the model into laminates and property sets
// (or into sub-layups and fields). The model creates and owns one and links
// it by SetLayup; callers fill the settings, run it and read the model's
// stores. Angles are radians; the thickness tolerance is in percent.
class CKpPropGenSet : public IVekPropGenSet {
  public:
    // No model; every int and double 0, empty name, no element ids, the four
    // vectors zero.
    CKpPropGenSet();
    // Runs Clear (which empties the generated stores when a model is set).
    ~CKpPropGenSet() override;

    CKpPropGenSet(const CKpPropGenSet&) = delete;
    CKpPropGenSet& operator=(const CKpPropGenSet&) = delete;

    // Links the owning model: 1 for a null model (nothing changes), else
    // stores it, sets the has-model flag and returns 0.
    int SetLayup(CKpLayup* layup);
    CKpLayup* GetLayup() const { return m_layup; }
    int hasLayup() const { return m_hasLayup; }

    // ---- IVekPropGenSet, in slot order ----

    // Resets the settings and, with a model, empties what earlier runs
    // generated:
    // 1. results valid 0, name emptied, element ids deleted;
    // 2. options, property mode, both coordinate ids, switch angle, angle and
    //    thickness tolerances, first coordinate/field/laminate/property ids,
    //    ignore thickness, equally spaced variables and shear correction 0;
    //    the coordinate origins and vector directions keep their values;
    // 3. without a model that is all;
    // 4. with a model: the model's laminates (CKpLamStore::Clear, which
    //    also resets every element's property id), coordinate frames,
    //    orientations (CKpOrientStore::Clear, which also clears every
    //    element's orientation link), laminate materials, property sets,
    //    fields and sub-layups are deleted, in that order, each store back at
    //    capacity 64. The set store is not touched.
    // Returns 0; the results of the store clears are not reported.
    int Clear() override;

    // Setters of the plain settings; each returns 0. `which` selects the
    // first (0) or second (1) frame or vector; any other value returns 1 and
    // changes nothing.
    int SetName(const char* name) override;  // null stores ""
    // Adds `n` ids (read), or every element of the model for n = -1, to the
    // element list: ids naming an element of the model and not yet listed
    // are added, others skipped silently; the list accumulates until Clear.
    // Results valid becomes 0. 0 (also for n = 0); 1 without model; -1 with
    // the error "Invalid element id list." for n below -1 or a null `ids`
    // with n above 0, and with "Could not allocate memory." when memory runs
    // out (the ids added so far stay).
    int SetElementIds(int n, const int* ids) override;
    int SetPropertySetOptions(const int options[6]) override;  // null sets nothing
    int SetPropertyMode(int mode) override;                    // stored unchecked
    // (code, orientation) (21, 1) -> 7, (21, 2) -> 6, (31, 1) -> 4, (31, 2)
    // -> 6, (22, 3) -> 13009, set through SetPropertyMode; any other pair
    // returns 1 and leaves the mode.
    int SetPropertyModeByCodeAndOrientation(EVekCode code, EVekOrientation orientation) override;
    int SetCoordId(int which, int id) override;
    int SetVectorDirection(int which, const double v[3]) override;  // null sets nothing
    int SetSwitchAngle(double angle) override;
    int SetAngleTolerance(double angle) override;
    int SetThicknessTolerance(double percent) override;
    int SetFirstCoordId(int id) override;
    int SetFirstFieldId(int id) override;
    int SetFirstLamId(int id) override;
    int SetFirstPropId(int id) override;
    int SetIgnoreThickness(int flag) override;
    int SetEquallySpacedVariables(int flag) override;
    int SetShearCorrection(int flag) override;

    // Runs the generation:
    // 1. without a model: 1;
    // 2. with listed element ids: the model's RestoreAndSelectArea with the
    //    ids in ascending order (2 when the id array cannot be allocated, 3
    //    when the selection fails); without ids the current selection
    //    stands;
    // 3. mode 13009: CreateSubLayups (name, ignore thickness, model), whose
    //    result is the status;
    // 4. any other mode: SaveLaminate over the model's message log, element,
    //    property-set, laminate, coordinate-frame, field and orientation
    //    stores with the settings. Failure: error "Could not save laminate
    //    data", -1. Success: information "Laminate saved"; in mode 118 then
    //    LamsToMats, whose failure returns -1;
    // 5. results valid 1 (also in mode 13009 whatever the status); the
    //    status.
    // After status -1 results valid is 0: the stores hold what was made up
    // to the failure.
    int Run() override;

    // The model's stores (created by the model when missing); null without
    // model.
    IVekLamStore* GetLamStore() override;
    IVekCoordStore* GetCoordStore() override;
    IVekFieldStore* GetFieldStore() override;
    IVekMaterialStore* GetGeneratedMaterialStore() override;  // the laminate materials
    IVekPropertySetStore* GetPropertySetStore() override;
    IVekSetStore* GetSetStore() override;
    IVekSubLayupStore* GetSubLayupStore() override;

    // ---- Further members ----

    // 1 after a completed run, 0 after Clear, ClearResults and
    // SetElementIds.
    int resultsValid() const { return m_resultsValid; }
    // Results valid 0. 0.
    int ClearResults();

    // Stored only; Run does not read the origins. As SetVectorDirection.
    int SetCoordOrigin(int which, const double p[3]);

    // The settings, in member order.
    const char* name() const { return m_name; }
    CKpIdStore& elementIds() { return m_elemIds; }
    int option(int i) const { return (i >= 0 && i < 6) ? m_options[i] : 0; }
    int propertyMode() const { return m_propMode; }
    int coordId(int which) const { return (which == 0 || which == 1) ? m_coordIds[which] : 0; }
    const CKpDirn& coordOrigin(int which) const { return m_coordOrigins[which == 1 ? 1 : 0]; }
    const CKpDirn& vectorDirection(int which) const { return m_vectors[which == 1 ? 1 : 0]; }
    double switchAngle() const { return m_switchAngle; }
    double angleTolerance() const { return m_angleTol; }
    double thicknessTolerance() const { return m_thickTol; }
    int firstCoordId() const { return m_firstCoordId; }
    int firstFieldId() const { return m_firstFieldId; }
    int firstLamId() const { return m_firstLamId; }
    int firstPropId() const { return m_firstPropId; }
    int ignoreThickness() const { return m_ignoreThickness; }
    int equallySpacedVariables() const { return m_equallySpaced; }
    int shearCorrection() const { return m_shearCorrection; }

  private:
    CKpLayup* m_layup;  // held, not owned
    int m_hasLayup;
    int m_resultsValid;
    CKpStr m_name;
    CKpIdStore m_elemIds;
    int m_options[6];
    int m_propMode;
    int m_coordIds[2];
    CKpDirn m_coordOrigins[2];
    CKpDirn m_vectors[2];
    double m_switchAngle;
    double m_angleTol;
    double m_thickTol;
    int m_firstCoordId;
    int m_firstFieldId;
    int m_firstLamId;
    int m_firstPropId;
    int m_ignoreThickness;
    int m_equallySpaced;
    int m_shearCorrection;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPROPGENSET_H

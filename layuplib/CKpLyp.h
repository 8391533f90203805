#ifndef PLYSTRAND_LAYUPLIB_CKPLYP_H
#define PLYSTRAND_LAYUPLIB_CKPLYP_H

#include "layuplib/CKpLypPlyStore.h"
#include "layuplib/CKpStr.h"
#include "layuplib/IVekPlyLayup.h"

class CKpLayup;

// CKpLyp: the layup of the model, the ordered stack of plies: a flag (the
// layup id: 0 empty, 1 once created), a name and the store of layup plies.
// The model embeds one and hands it out as IVekPlyLayup; the layup keeps a
// pointer back to the model. Elements keep their own stacks of entries that
// point at these layup plies (CKpElemLypPly).
//
// The operations of IVekPlyLayup are documented there; placements go
// through CreateLayupPly and add_layer (layuplib/add_layer.h).
class CKpLyp : public IVekPlyLayup {
  public:
    // An empty layup: no model, flag 0, empty name, no layup plies.
    CKpLyp();
    // Erases (deletes) the layup plies first.
    virtual ~CKpLyp();

    CKpLyp(const CKpLyp&) = delete;
    CKpLyp& operator=(const CKpLyp&) = delete;

    // The owning model (null until set).
    CKpLayup* GetLayup() const { return m_layup; }
    void SetLayup(CKpLayup* layup) { m_layup = layup; }

    // The layup flag (layup id): 0 empty, 1 once created.
    int id() const { return m_id; }
    void setId(int id) { m_id = id; }

    // The name ("" when unset).
    const char* name() const { return m_name; }
    void setName(const char* name) { m_name = name ? name : ""; }

    // The layup plies.
    CKpLypPlyStore& LypPlys() { return m_lypPlys; }
    const CKpLypPlyStore& LypPlys() const { return m_lypPlys; }

    // Empties the layup and keeps the object and its model: flag 0, name
    // cleared (no buffer), every layup ply deleted (the store back at
    // capacity 64). Element stacks that point at the layup plies must have
    // been emptied before; the plies' instance counts are not touched.
    void reinit();

    // ---- IVekPlyLayup, in slot order
    int Clear() override;
    const char* GetName() override;
    int SetName(const char* name) override;
    int Create(int n, const char* const* plyGroups, const char* const* sequences, const int* types,
               const char* const* plyNames, const int* counts, const int* sides,
               const double* angleOffsets, const double* thicknessOverrides,
               const int* globalPlyIds) override;
    IVekLayupPlyStore* GetLayupPlyStore() override;
    int GetNumLayupPlyIDs() override;
    int GetLayupPlyIDsNamesThicks(int n, int* ids, char** names, char** materialNames, int size,
                                  double* thicknesses) override;
    int GetLayupPlyLayers(int fromTop, int layupPlyId, int size, int& count, int* elemIds,
                          int* positions, int* directions) override;

  private:
    CKpLayup* m_layup;  // held, not owned
    int m_id;
    CKpStr m_name;
    CKpLypPlyStore m_lypPlys;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPLYP_H

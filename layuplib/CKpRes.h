#ifndef PLYSTRAND_LAYUPLIB_CKPRES_H
#define PLYSTRAND_LAYUPLIB_CKPRES_H

#include "layuplib/CKpResElemStore.h"
#include "layuplib/CKpStr.h"
#include "layuplib/CVekObject.h"
#include "layuplib/IVekResult.h"

// CKpRes: one result of the results store (see IVekResult for the names
// and codes), with its element records. IVekResult comes first, so a result
// pointer is also the interface pointer. Owns its record store.
class CKpRes : public IVekResult, public CVekObject {
  public:
    // Empty names, codes 0, no records.
    explicit CKpRes(int id);
    // The five names (a null array or entry gives ""), orientation, type
    // and location codes; no records.
    CKpRes(int id, const char* const names[5], int orientation, int type, int location);
    ~CKpRes() override;
    CKpRes(const CKpRes&) = delete;
    CKpRes& operator=(const CKpRes&) = delete;

    int GetNames(char* names[5], int len) override;
    int GetType() override { return m_type; }
    int GetLocation() override { return m_loc; }
    int GetOrientation() override { return m_orient; }
    int GetNumElements() override { return m_elems.entries(); }
    int GetElementIdsNums(int n, int* ids, int* nInts, int* nFloats) override;
    int GetElementResults(int* ints, float* floats) override;
    int SetNames(const char* const names[5]) override;
    int SetType(EType type) override;
    int SetLocation(ELocation location) override;
    int SetOrientation(EOrientation orientation) override;
    int SetElementResults(int n, const int* ids, const int* nInts, const int* nFloats,
                          const int* ints, const float* floats) override;

    // Name i (0..4); "" when unset or i is outside.
    const char* name(int i) const;
    // Sets name i (null: ""); nothing for i outside 0..4.
    void name(int i, const char* text);
    int type() const { return m_type; }
    void type(int type) { m_type = type; }
    int loc() const { return m_loc; }
    void loc(int location) { m_loc = location; }
    int orient() const { return m_orient; }
    void orient(int orientation) { m_orient = orientation; }
    // Sets the analysis code (null: "").
    void acode(const char* text);
    // Values per element by type: 1 for 1, 3 for 2, 6 for 3, else 0.
    int nvals() const;
    // True when name 2 contains "Strain".
    bool IsStrainResult() const;
    // Rewrites a solver's failure theory keyword in `text` (read and
    // written; the buffer holds at least 15 bytes): "HILL" -> "Hill Stress",
    // "HOFFMAN" -> "Hoffman Stress", "TSAI-WU" -> "Tsai-Wu Stress",
    // "STRAIN" -> "Maximum Strain"; whole text, case-sensitive; anything
    // else (and null) is left alone.
    static void Theory(char* text);
    // True when all five names equal `names` byte for byte (a null entry
    // stands for ""); false for a null array.
    bool SameName(const char* const names[5]) const;
    // The record of `elementId`: an existing one has its first values
    // overwritten (CKpResElem::SetRes); otherwise a new record with the
    // counts and values given is inserted. Null, nothing changed, for a
    // count outside 0..255 or when memory runs out.
    CKpResElem* FindOrCreateResElem(int elementId, int nFloats, const float* floats, int nInts,
                                    const int* ints);
    // The same with the counts and values of `source`.
    CKpResElem* FindOrCreateResElem(int elementId, const CKpResElem& source);
    // The element records.
    CKpResElemStore* ResElems() { return &m_elems; }

  private:
    // Inserts `record`; false (and deletes it) when the store cannot grow.
    bool InsertRecord(CKpResElem* record);

    CKpStr m_names[5];
    CKpStr m_acode;
    int m_orient;
    int m_type;
    int m_loc;
    CKpResElemStore m_elems;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPRES_H

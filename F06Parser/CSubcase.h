#ifndef PLYSTRAND_F06PARSER_CSUBCASE_H
#define PLYSTRAND_F06PARSER_CSUBCASE_H

#include "layuplib/CKpStr.h"
#include "layuplib/CVekObject.h"
#include "layuplib/CVekObjectStore.h"

// CSubcase: one solver subcase (load case, eigenmode, frequency or time
// step); the object id is the subcase id. It names the results read for it:
// GetSubtitle is name 0 and GetLabel name 1 of every result of the subcase.
class CSubcase : public CVekObject {
  public:
    // Numbers 0, empty texts.
    explicit CSubcase(int id);
    // Numbers 0; the texts given (null: empty).
    CSubcase(int id, const char* title, const char* subtitle, const char* label);

    // Numbers to 0 and all texts emptied.
    void reinit();

    // Approach code / 10: 2 real eigenvalues, 5 frequency response,
    // 6 transient, 10 nonlinear statics, anything else a static case.
    int GetAnalysisType() const { return m_approach / 10; }
    // The subtitle, or "Default Loadcase" when empty.
    const char* GetSubtitle();
    // The label ("Default Subcase" when empty) followed by ":Freq.=" and the
    // frequency (type 2: sqrt(eigenvalue) / 2 pi; type 5), ":Time=" and the
    // time (type 6), or " ", load factor * 100 and "%" (type 10 with a load
    // factor above 0). Valid until the next call.
    const char* GetLabel();

    void SetEigenvalue(double value) { m_eigenvalue = value; }
    void SetTitle(const char* text) { m_title = text ? text : ""; }
    void SetSubtitle(const char* text) { m_subtitle = text ? text : ""; }
    void SetLabel(const char* text) { m_label = text ? text : ""; }
    void SetApproach(int code) { m_approach = code; }
    void SetLoadFactor(double value) { m_loadFactor = value; }
    void SetMode(int mode) { m_mode = mode; }
    void SetFrequency(double value) { m_frequency = value; }
    void SetTime(double value) { m_time = value; }

    int GetApproach() const { return m_approach; }
    int GetMode() const { return m_mode; }
    double GetEigenvalue() const { return m_eigenvalue; }
    const char* GetTitle() const { return m_title; }

  private:
    int m_approach;
    double m_loadFactor;
    int m_mode;
    double m_eigenvalue;
    double m_frequency;
    double m_time;
    CKpStr m_title;
    CKpStr m_subtitle;
    CKpStr m_label;
    CKpStr m_subtitleWork;
    CKpStr m_labelWork;
};

// Subcases by id; owns them.
class CSubcaseStore : public CVekObjectStore<CSubcase> {
  public:
    CSubcaseStore() : CVekObjectStore<CSubcase>(16) {}
    ~CSubcaseStore() override { eraseAllObjects(); }
    CSubcaseStore(const CSubcaseStore&) = delete;
    CSubcaseStore& operator=(const CSubcaseStore&) = delete;
};

#endif  // PLYSTRAND_F06PARSER_CSUBCASE_H

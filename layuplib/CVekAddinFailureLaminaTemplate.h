#ifndef PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINATEMPLATE_H
#define PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINATEMPLATE_H

#include <cmath>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "layuplib/IVekAddinFailureLamina.h"
#include "layuplib/lamina_failure.h"

// CVekAddinFailureLaminaTemplate: the bookkeeping shared by every lamina
// failure criterion (labels, allowables, loads, result buffers, message
// queue), so that a criterion supplies only its name and its Run.
//
// Defaults (Initialise, run by the constructor):
//   - seven allowables labelled "Xt", "Xc", "Yt", "Yc", "S12", "S23", "S31"
//     (fibre tension and compression, transverse tension and compression,
//     in-plane shear, transverse shear 23 and 31 strengths);
//   - four results labelled "Margins of Safety", "Reserve Factors",
//     "Critical Components", "Failure Indices", each with one double and one
//     integer value and no text value. Result 0 is the margin of safety
//     (reserve factor - 1), 1 the reserve factor, 2 the critical component
//     (failure-mode code, also the integer value of every result), 3 the
//     failure index.
// Allowable values, loads, results and the basis are 0 until set.
//
// Reference counting: a new object has count 0; the one who keeps it calls
// AddRef, and the Release that brings the count to 0 deletes the object
// (objects must therefore come from `new`). Every message the template
// queues has the type eError and stays queued until Clear.
class CVekAddinFailureLaminaTemplate : public IVekAddinFailureLamina {
  public:
    CVekAddinFailureLaminaTemplate();
    CVekAddinFailureLaminaTemplate(const CVekAddinFailureLaminaTemplate&) = delete;
    CVekAddinFailureLaminaTemplate& operator=(const CVekAddinFailureLaminaTemplate&) = delete;

    // Returns the new count.
    int AddRef() override;
    // Returns the count left; at 0 the object deletes itself.
    int Release() override;
    // Offers "IVekAddinFailureLamina" only (exact bytes): *out = this, 0.
    // Any other name: *out = null, 1 (a null `out` also gives 1). Takes no
    // reference.
    int QueryInterface(const char* interfaceName, void** out) override;

    // "Template".
    int GetName(char* buffer, int len) override;
    // "Plystrand" and "https://plystrand.example.org".
    int GetProviderName(char* buffer, int len) override;
    int GetProviderWebsite(char* buffer, int len) override;
    // 0, 0, 0.
    int GetVersion(int& major, int& minor, int& revision) override;
    int GetNumAllowables(int& n) override {
        n = static_cast<int>(m_allowables.size());
        return 0;
    }
    // Index outside 0..n-1: "Allowable index is beyond allowable range.", 1.
    int GetAllowableLabel(int index, char* buffer, int len) override;
    // 4.
    int GetNumResults(int& n) override {
        n = static_cast<int>(m_resultLabels.size());
        return 0;
    }
    // Index outside: "Result index is beyond allowable range.", 1.
    int GetResultLabel(int index, char* buffer, int len) override;
    int GetNumResultValues(int index, int& nDoubles, int& nInts, int& nStrings) override;
    // Deletes every queued message; zeroes the doubles of results 0, 1, 3
    // and the integer of result 2. 0.
    int Clear() override {
        m_messages.clear();
        m_messageTypes.clear();
        m_dResults[0] = m_dResults[1] = m_dResults[3] = 0.0;
        m_iResults[2] = 0;
        return 0;
    }
    // Stores the basis (no built-in criterion reads it). 0.
    int SetBasis(EBasis basis) override {
        m_basis = basis;
        return 0;
    }
    // A null `values` with a positive count queues "Allowable values are
    // missing." and returns 1. 0 otherwise.
    int SetAllowables(int count, const double* values) override {
        if (count > 0 && !values) return MissingAllowables();
        const int n = static_cast<int>(m_allowables.size());
        double* to = m_allowables.data();
#pragma GCC unroll 8
        for (int i = 0, m = count < n ? count : n; i < m; ++i) to[i] = values[i];
        return 0;
    }
    // Direction above 5 (compared unsigned): "Load index is beyond allowable
    // range.", 1, nothing stored. 0 otherwise.
    int SetLoadInDirection(ELoadDirection direction, double value) override {
        if (static_cast<unsigned int>(direction) > 5u) return LoadIndexOutside();
        m_loads[direction] = value;
        return 0;
    }
    // 1 when any of Xt, Xc, Yt, Yc, S12 is <= 0 (message "One or more
    // in-plane failure values are less than or equal to zero: ..."); 2 when
    // S23 or S31 is < 0 ("One or more out-of-plane failure values are less
    // than zero: ..."); 0 otherwise (S23 = 0 or S31 = 0 switches that
    // transverse-shear check off). A NaN strength fails its check. Only the
    // positions the criterion holds are checked (a user criterion may have
    // fewer than seven; the message then shows 0 for the others).
    int CheckAllowables() override {
        const double* a = m_allowables.data();
        if (m_allowables.size() >= 7 && a[0] > 0.0 && a[1] > 0.0 && a[2] > 0.0 && a[3] > 0.0 &&
            a[4] > 0.0 && a[5] >= 0.0 && a[6] >= 0.0)
            return 0;
        return CheckAllowablesOneByOne();
    }
    // The template evaluates nothing: 1.
    int Run() override;
    // Bad result index: "Result index is beyond allowable range.", 1; value
    // index outside the result's doubles (ints, texts): "Result value is
    // beyond allowable range.", 2; otherwise the value, 0. GetszResult
    // writes nothing in range (no criterion has text results).
    int GetdResult(int resultIndex, int valueIndex, double& value) override {
        const int status = ResultStatus(resultIndex, valueIndex, m_resultNumDoubles);
        if (status == 0) value = m_dResults[resultIndex];
        return status;
    }
    int GetiResult(int resultIndex, int valueIndex, int& value) override {
        const int status = ResultStatus(resultIndex, valueIndex, m_resultNumInts);
        if (status == 0) value = m_iResults[resultIndex];
        return status;
    }
    int GetszResult(int resultIndex, int valueIndex, char* buffer, int len) override;
    int GetNumMessages(int& n) override;
    // Index -1 or 0..n-1: 0; otherwise `len` = 0 and 1.
    int GetMessageLength(int index, int& len) override;
    // Index -1 or 0..n-1: type and text, 0. An index at or past the count
    // (and -1 with no message) writes nothing and returns 0; below -1: 1.
    int GetMessageString(int index, EMessageType& type, char* buffer, int len) override;

    virtual ~CVekAddinFailureLaminaTemplate();

  protected:
    // Sets the default labels and result layout described above.
    void Initialise();
    // Queues a formatted message of type eError.
    void QueueMessage(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Copies `text` into `buffer` as the text outputs do; 1 for a null
    // buffer or len < 1.
    static int CopyText(const char* text, char* buffer, int len);
    // 1 when all six loads are finite; otherwise queues "Failure
    // calculation gave a non-finite value." and returns 0.
    int LoadsFinite() {
#pragma GCC unroll 6
        for (double load : m_loads)
            if (!std::isfinite(load)) return NonFinite(0);
        return 1;
    }
    // Writes the outcome of a computing criterion: the margin clamped to
    // 999999.0, reserve factor = margin + 1, critical component `mode`
    // (as double in result 2 and as every integer result), failure index;
    // 0. A margin or index that is not finite stores nothing, queues
    // "Failure calculation gave a non-finite value." and returns 1.
    int StoreOutcome(double margin, int mode, double failureIndex) {
        if (margin > 999999.0) margin = 999999.0;
        if (!std::isfinite(margin) || !std::isfinite(failureIndex)) return NonFinite(1);
        m_dResults[0] = margin;
        m_dResults[1] = margin + 1.0;
        m_dResults[2] = static_cast<double>(mode);
        m_dResults[3] = failureIndex;
        for (int& value : m_iResults) value = mode;
        return 0;
    }
    // Queues "Failure calculation gave a non-finite value."; `status`.
    int NonFinite(int status);
    // Run of a quadratic criterion after its allowables passed: non-finite
    // loads are refused (above); the strength ratio of the form's
    // a·R² + b·R - 1 = 0 from margin 1000.0, with the transverse-shear
    // checks (lamina_strength_ratio), is stored. An imaginary root queues
    // "Imaginary root for failure calculation:\n b*b - 4*a*c = %g", a root
    // that is not positive "No positive root for failure calculation:\n
    // R = %g"; both return 1 and store nothing. 0 on success.
    int SolveForm(LaminaForm form) {
        if (!LoadsFinite()) return 1;
        double a = 0.0, b = 0.0;
        const size_t n = m_allowables.size();
        if (n <= 8) {
            // Failure runs evaluate many loads against the same allowables.
            if (!TermsHeld(form, n)) HoldTerms(form, n);
            lamina_terms(m_terms, m_loads, a, b);
        } else {
            lamina_terms(form, m_allowables.data(), m_loads, a, b);
        }
        LaminaOutcome o{};
        double reported = 0.0;
        const int status =
            lamina_strength_ratio(a, b, m_allowables.data(), m_loads, 1000.0, o, reported);
        if (status == 0) return StoreOutcome(o.margin, o.mode, o.failureIndex);
        return RatioFailed(status, reported);
    }
    // Queues the message of a failed lamina_strength_ratio `status`; 1.
    int RatioFailed(int status, double reported);

    // The error paths of the operations above, each queueing its message:
    // "Allowable values are missing." and "Load index is beyond allowable
    // range.", 1.
    int MissingAllowables();
    int LoadIndexOutside();
    // CheckAllowables position by position, with its messages.
    int CheckAllowablesOneByOne();
    // 0 when result `resultIndex` has value `valueIndex` among the counts
    // `numValues`; otherwise queues the message of GetdResult and returns
    // its status.
    int ResultStatus(int resultIndex, int valueIndex, const std::vector<int>& numValues) {
        if (static_cast<size_t>(resultIndex) < m_resultLabels.size() && valueIndex >= 0 &&
            valueIndex < numValues[resultIndex])
            return 0;
        return ResultIndexOutside(resultIndex, valueIndex, numValues);
    }
    int ResultIndexOutside(int resultIndex, int valueIndex, const std::vector<int>& numValues);

    int m_refCount;
    std::vector<std::string> m_allowableLabels;
    std::vector<double> m_allowables;
    std::vector<std::string> m_resultLabels;
    std::vector<int> m_resultNumDoubles;
    std::vector<int> m_resultNumInts;
    std::vector<int> m_resultNumStrings;
    std::vector<double> m_dResults;
    std::vector<int> m_iResults;
    std::vector<std::string> m_szResults;
    double m_loads[6];
    std::vector<std::string> m_messages;
    std::vector<EMessageType> m_messageTypes;
    EBasis m_basis;

  private:
    // Whether m_terms hold the terms of `form` for the n (up to 8) allowables
    // now set: the same form and the same bits.
    bool TermsHeld(LaminaForm form, size_t n) const {
        if (!m_termsHeld || m_termsCount != n || m_terms.form != form) return false;
        const double* a = m_allowables.data();
        // The sizes of the built-in criteria, compared without a loop.
        if (n == 8) return std::memcmp(m_termsKey, a, 8 * sizeof(double)) == 0;
        if (n == 7) return std::memcmp(m_termsKey, a, 7 * sizeof(double)) == 0;
        return std::memcmp(m_termsKey, a, n * sizeof(double)) == 0;
    }
    // Derives the terms of `form` for the n allowables now set.
    void HoldTerms(LaminaForm form, size_t n);

    // The allowable terms SolveForm last derived, for allowables with the
    // bits in m_termsKey (up to eight of them): a new set of allowables or
    // another form derives them again.
    bool m_termsHeld;
    size_t m_termsCount;
    double m_termsKey[8];
    LaminaAllowableTerms m_terms;
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINATEMPLATE_H

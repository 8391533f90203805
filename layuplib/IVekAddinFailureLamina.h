#ifndef PLYSTRAND_LAYUPLIB_IVEKADDINFAILURELAMINA_H
#define PLYSTRAND_LAYUPLIB_IVEKADDINFAILURELAMINA_H

#include "layuplib/IVekUnknown.h"

// IVekAddinFailureLamina: a lamina failure criterion, built into the library
// or supplied by an add-in module.
//
// A caller drives it in this order: Clear, GetNumAllowables, SetAllowables,
// CheckAllowables, SetBasis, SetLoadInDirection for the six directions, Run,
// then GetNumResults and GetdResult / GetiResult per result, and the queued
// messages.
//
// Every operation returns an int: AddRef and Release the reference count,
// all others a status, 0 for success. Text outputs write at most `len` bytes
// into `buffer` and always end with a terminating zero (a longer text is cut
// to len - 1 characters); a null buffer or a `len` below 1 writes nothing and
// returns 1.
//
// Index errors never throw: they queue an error message (kept until Clear)
// and return a non-zero status.
//
// The slot order below is fixed (the three IVekUnknown operations come
// first); an implementation declares its virtual destructor after the last.
class IVekAddinFailureLamina : public IVekUnknown {
  public:
    // Index of a load component.
    enum ELoadDirection {
        eS1 = 0,   // normal stress (strain) in the fibre direction
        eS2 = 1,   // normal, transverse to the fibres
        eS3 = 2,   // normal, through the thickness
        eT12 = 3,  // in-plane shear
        eT23 = 4,  // transverse shear 23
        eT31 = 5   // transverse shear 31
    };
    // Whether allowables and loads are stresses or strains.
    enum EBasis { eStress = 1, eStrain = 2 };
    // Kind of a queued message.
    enum EMessageType { eInformation = 1, eWarning = 2, eError = 3 };

    // Name of the criterion.
    virtual int GetName(char* buffer, int len) = 0;
    // Who provides the criterion, and their web address.
    virtual int GetProviderName(char* buffer, int len) = 0;
    virtual int GetProviderWebsite(char* buffer, int len) = 0;
    // Version of the criterion (written).
    virtual int GetVersion(int& major, int& minor, int& revision) = 0;
    // Number of allowables (written).
    virtual int GetNumAllowables(int& n) = 0;
    // Label of allowable `index` (0..n-1); 1 for an index outside.
    virtual int GetAllowableLabel(int index, char* buffer, int len) = 0;
    // Number of results (written).
    virtual int GetNumResults(int& n) = 0;
    // Label of result `index`; 1 for an index outside.
    virtual int GetResultLabel(int index, char* buffer, int len) = 0;
    // How many double, integer and text values result `index` has (written);
    // 1 for an index outside.
    virtual int GetNumResultValues(int index, int& nDoubles, int& nInts, int& nStrings) = 0;
    // Empties the message queue and zeroes the results the next Run writes.
    virtual int Clear() = 0;
    // Stores the basis of the allowables and loads.
    virtual int SetBasis(EBasis basis) = 0;
    // Copies the first min(count, number of allowables) of `values` (read),
    // in label order; the others keep their values.
    virtual int SetAllowables(int count, const double* values) = 0;
    // Stores one load component; 1 for a direction outside 0..5.
    virtual int SetLoadInDirection(ELoadDirection direction, double value) = 0;
    // Checks the allowables; 0 when they are usable.
    virtual int CheckAllowables() = 0;
    // Evaluates the criterion on the loads set; 0 on success.
    virtual int Run() = 0;
    // Value `valueIndex` of result `resultIndex` (written): 1 for a bad
    // result index, 2 for a bad value index.
    virtual int GetdResult(int resultIndex, int valueIndex, double& value) = 0;
    virtual int GetiResult(int resultIndex, int valueIndex, int& value) = 0;
    virtual int GetszResult(int resultIndex, int valueIndex, char* buffer, int len) = 0;
    // Number of queued messages (written).
    virtual int GetNumMessages(int& n) = 0;
    // Length of message `index` plus one for the terminator (written);
    // index -1 means the newest message.
    virtual int GetMessageLength(int index, int& len) = 0;
    // Kind and text of message `index` (-1: the newest), written.
    virtual int GetMessageString(int index, EMessageType& type, char* buffer, int len) = 0;

  protected:
    ~IVekAddinFailureLamina() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKADDINFAILURELAMINA_H

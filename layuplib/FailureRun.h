#ifndef PLYSTRAND_LAYUPLIB_FAILURERUN_H
#define PLYSTRAND_LAYUPLIB_FAILURERUN_H

#include <vector>

class CKpDB;
class CKpGUI;
class CKpLayup;
class CKpMat;
class CKpMatAllowStore;
class CKpMsg;
class CKpRes;
class CKpResElem;
class CKpResRefStore;
class IVekAddinFailureLamina;

// The lamina failure analysis over the layered results of one load case
// and subcase (entered through IVekResultStore::CreateResultsFailureLamina).

// Runs `criterion` over every layer of every selected element: loads from
// the layer results of names[0] and names[1] (stresses, or strains with a
// basis other than 1), allowables from `allowables` capped by each
// laminate's bond strength. New results in the model's store, named
// names[0], names[1], <label or "Critical Layers"> [" (Worst)"] "*",
// "<criterion> Stress|Strain[ (<description>)]", and "" or "Layer <n>":
// with `worst` one worst-value result per requested index (ascending
// order), with `criticalLayers` the critical layer, with `perLayer` one
// result per requested index and layer. The layer of the smallest margin
// is the critical one (ties keep the lower layer in the stack). Texts are
// cut to 255 characters. Then the report (PrintResults). ids[0] the first
// new id, ids[1] one past the last. 0, or -1 after a warning or error;
// when the store's ids leave no room for the new results and the id one
// past them, "Cannot allocate memory" and -1 before any result is made.
int CreateResultsFailure(CKpMsg* msg, CKpLayup* layup, const char* const names[5],
                         IVekAddinFailureLamina* criterion, int perLayer, int worst,
                         int criticalLayers, int basis, CKpMatAllowStore* allowables, int nResults,
                         const int* resultIndices, const char* description, const char* reportFile,
                         int* ids);

// One evaluation: allowables and the six loads into the criterion on
// `basis`, then its results into `outputs` (one record per criterion
// result, floats from the doubles). 0; 1 null criterion, 2 no allowables,
// 3 allowables refused, 4 evaluation failed (the criterion's messages are
// transferred).
int RunFailureLamina(CKpMsg* msg, CKpGUI* gui, const float loads[6],
                     const std::vector<double>& allowables, std::vector<CKpResElem*>& outputs,
                     IVekAddinFailureLamina* criterion, int basis);

// Caps the "S23" and "S31" allowables by the bond strength `bond` (as
// stresses on basis 1; as bond / Gyz and bond / Gzx strains on basis 2).
// 0 (also for bond <= 0); 1 null argument; 2 no allowable count; 3 other
// basis.
int UpdateBondStrength(double bond, int basis, CKpMat* material, IVekAddinFailureLamina* criterion,
                       std::vector<double>* allowables);

// The criterion's queued messages into the log, as text: type 1
// information, 2 warning, others error.
void TransferMsg(CKpMsg* msg, IVekAddinFailureLamina* criterion);

// The display name of criterion id 1..7 into `name` (256 bytes); id 7 asks
// the host for the user criterion's name ("User" with a warning when it
// cannot). Other ids leave `name` alone. 0.
int GetCriterionNameFromId(CKpMsg* msg, CKpGUI* gui, int id, char* name);

// The failure report of a run (see the run). 0 when written or when no file
// is asked for; -1 after an error (a failed write or close names the file).
int PrintResults(CKpMsg* msg, CKpDB* db, const char* const names[5], const char* criterionName,
                 int basis, const char* description, const char* reportFile,
                 IVekAddinFailureLamina* criterion, CKpMatAllowStore* allowables, CKpRes* worst,
                 CKpResRefStore* layers);

#endif  // PLYSTRAND_LAYUPLIB_FAILURERUN_H

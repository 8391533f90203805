#ifndef PLYSTRAND_LAYUPLIB_CALCFAILURE_H
#define PLYSTRAND_LAYUPLIB_CALCFAILURE_H

class CKpGUI;
class CKpMsg;
class IVekAddinFailureLamina;

// Evaluates one lamina failure criterion in a single call, for clients that
// hold single-precision arrays. Exported with C linkage.
//
//   msg         message log for the failure texts (may be null: no messages);
//   gui         host adapter that evaluates the user criterion (7);
//   criterion   1 Tsai-Wu, 2 maximum, 3 Hill, 4 Hoffman, 5 Hankinson,
//               6 Cowin, 7 user (CKpGUI::FailUser), 8 none;
//   unused      not read;
//   loads       6 floats, read: s1 s2 s3 t12 t23 t31;
//   allowables  8 floats, read: Xt Xc Yt Yc S12 S23 S31 F12* (F12* read by
//               Tsai-Wu only);
//   out         3 floats, written on success: margin of safety (clamped to
//               999999), failure-mode code, failure index.
//
// The criteria compute as the built-in criterion classes do, from a margin
// of 1.0e12 (held in single precision) when no ratio applies. Rejected
// allowables are logged as errors ("One or more in-plane failure values are
// less than or equal to zero:\n fxt %g fxc %g fyt %g fyc %g fs12 %g", "One
// or more out-of-plane failure values are less than zero:\n fs23 %g fs31
// %g", and for Tsai-Wu "One or more interaction failure values are outside
// the valid range between -1 and 1:\n f12i %g"), as are an imaginary root,
// a root that is not positive and a non-finite load or outcome ("Failure
// calculation gave a non-finite value."); each is followed by the error
// "Error calculating failure according to <criterion>" and returns 1. The
// user criterion without a host or with a failing host logs only the
// latter. Criterion 8 returns 1 with no message; any other value logs
// "Unsupported failure criterion." and returns 1. Null arrays: 1. 0 on
// success.
extern "C" int calcFailure(CKpMsg* msg, CKpGUI* gui, int criterion, IVekAddinFailureLamina* unused,
                           float* loads, float* allowables, float* out);

#endif  // PLYSTRAND_LAYUPLIB_CALCFAILURE_H

#ifndef PLYSTRAND_LAYUPLIB_USER_BREAK_H
#define PLYSTRAND_LAYUPLIB_USER_BREAK_H

class CKpGUI;

// Throttled poll of the host's abort request, for long loops: the host
// (CKpGUI::UiAbort) is asked only on every `every`-th call, so that a tight
// loop does not pay for a host round trip per step.
//
// The function keeps, for the whole program, the interval of the last call
// (0 at start) and a call counter:
//   1. when `every` differs from the remembered interval, it is remembered,
//      the counter restarts at 1 and the result is 0 (the host is not asked);
//   2. otherwise, when the counter has reached `every` - 1 or more, the
//      counter restarts at 0 and the host is asked;
//   3. otherwise the counter grows by 1 and the result is 0.
// So after the first call of a new interval the host is asked on every
// `every`-th call (the 10th, 20th, 30th call for 10), and on every call for
// an interval of 1, 0 or below.
//
// `gui` is read (not owned); null means no host: nothing is asked and the
// result is 0 (the counter still runs).
// Returns the host's answer when it was asked (nonzero: the user wants the
// operation to stop), else 0.
int user_break(CKpGUI* gui, int every);

#endif  // PLYSTRAND_LAYUPLIB_USER_BREAK_H

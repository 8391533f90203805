#include "layuplib/user_break.h"

#include "host/CKpGUI.h"

namespace {

// Process-wide state: every caller shares one counter, as the host's abort
// flag is process-wide too.
int s_every = 0;
int s_count = 0;

}  // namespace

int user_break(CKpGUI* gui, int every) {
    if (every != s_every) {
        s_every = every;
        s_count = 1;
        return 0;
    }
    // "Reached or passed" rather than "equal": with an interval of 1 the
    // counter restarts at 0 and must still count as reached.
    if (every <= 1 || s_count >= every - 1) {
        s_count = 0;
        return gui ? gui->UiAbort() : 0;
    }
    ++s_count;
    return 0;
}

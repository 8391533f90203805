#ifndef PLYSTRAND_LAYUPLIB_CKPMSG_H
#define PLYSTRAND_LAYUPLIB_CKPMSG_H

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "layuplib/CKpMsgLineStore.h"
#include "layuplib/CKpStr.h"

class CKpGUI;

// CKpMsg: the model's message log.
//
// Severities: 1 information, 2 warning, 4 error. Every message issued through
// Create becomes one line of the message file when one is open:
//   4  "$# ERROR: <text>"      2  "$# WARNING: <text>"      other  "$# <text>"
// each flushed at once. Immediate repeats of the same message (same severity,
// same text) are folded: nothing is written for them, and when a different
// message follows, the notice "(...repeated N times...)" (N counting the
// first issue) is issued first with the new message's severity. Warnings and
// errors (and notices of that severity) also go to the in-memory store and to
// the host as CKpGUI::Message(1, severity, text); information goes to the
// file only. Messages issued while no file is open still reach the store and
// the host.
//
// A formatted message holds at most MESSAGE_LEN - 1 characters; longer texts
// are cut there.
class CKpMsg {
  public:
    enum { MESSAGE_LEN = 2048 };

    // No GUI, no file, empty store (maximum count 100, maximum age 0).
    CKpMsg();
    // Closes an open message file through FileClose; flushes the store.
    ~CKpMsg();
    CKpMsg(const CKpMsg&) = delete;
    CKpMsg& operator=(const CKpMsg&) = delete;

    // The host adapter that Create and CreateDirect call; not owned; null: no
    // host.
    void SetGUI(CKpGUI* gui);

    // Formats (printf-style) and issues a message of `severity` as described
    // above.
    void Create(int severity, const char* format, ...) __attribute__((format(printf, 3, 4)));

    // Formats a message, writes its line to the message file with the
    // severity's prefix, sends it to the host as CKpGUI::Message(channel,
    // severity, text) and returns the host's answer unchanged (0 without a
    // GUI). A nonzero answer is also written to the file as "$# retval: <n>".
    // Does not fold repeats, store the message or touch the repeat state.
    // `channel` 100005 is the system's yes/no question.
    int CreateDirect(int channel, int severity, const char* format, ...)
        __attribute__((format(printf, 4, 5)));

    // With an open file: writes `text` with its severity's prefix and flushes.
    void WriteToMessageFile(int severity, const char* text);
    // Severities 2 and 4: adds `text` to the store.
    void WriteToMessageStore(int severity, const char* text);
    // Severities 2 and 4: CKpGUI::Message(1, severity, text).
    void WriteToHost(int severity, const char* text);
    // The three above, in that order.
    void WriteToAll(int severity, const char* text);

    // Opens `path` for writing (an existing file is replaced). A file already
    // open is closed first through FileClose. On success issues the
    // information lines "Layup Lib 20081110 API 20081003 File 20081003" (each
    // number in 8 columns) and "Message file opened" and returns 0; on failure
    // issues the error "Could not open file '<path>' for writing." and
    // returns -1.
    int FileOpen(const char* path);

    // Issues the information "Close message file" (the file's last line),
    // then closes the file. Returns 0, also when no file is open; -1 when
    // closing fails (the error "Could not close message file" is issued and
    // the file is forgotten all the same, since it cannot be used again).
    int FileClose();

    // While `held` is set (not owned; null: no longer), messages issued
    // through Create go into it in issue order, as (severity, text) and
    // unfolded, instead of anywhere else; issuing them later through Create
    // gives what issuing them now would. For work done away from the thread
    // that owns the message file. A message that cannot be held (no memory)
    // is left out and noted: HeldLost then tells, until the next call.
    void HoldMessages(std::vector<std::pair<int, std::string>>* held);
    bool HeldLost() const { return m_heldLost; }

    // Forward to the store's SetParams, Flush and GetFirstMessage (see
    // CKpMsgLineStore for the arguments and statuses).
    void SetMessageStoreParams(int maxCount, double maxAge);
    void FlushMessageStore();
    int GetFirstMessageInStore(double age, int* level, char* text, int textSize);

  private:
    // Issues an already formatted message (the steps of Create).
    void Issue(int severity, const char* text);

    int m_repeatCount;
    int m_lastSeverity;
    CKpStr m_lastText;
    CKpGUI* m_gui;
    FILE* m_file;
    CKpMsgLineStore m_store;
    std::vector<std::pair<int, std::string>>* m_held;
    bool m_heldLost;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPMSG_H

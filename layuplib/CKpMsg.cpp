#include "layuplib/CKpMsg.h"

#include <cstdarg>
#include <new>

#include "host/CKpGUI.h"

namespace {

// Formats into the fixed message buffer, cutting what does not fit.
void FormatMessage(char* text, const char* format, va_list args) {
    if (!format || std::vsnprintf(text, CKpMsg::MESSAGE_LEN, format, args) < 0) text[0] = '\0';
}

bool ReachesStoreAndHost(int severity) {
    return severity == 2 || severity == 4;
}

}  // namespace

CKpMsg::CKpMsg()
    : m_repeatCount(0),
      m_lastSeverity(0),
      m_gui(nullptr),
      m_file(nullptr),
      m_held(nullptr),
      m_heldLost(false) {}

CKpMsg::~CKpMsg() {
    if (m_file) FileClose();
    m_store.Flush();
}

void CKpMsg::SetGUI(CKpGUI* gui) {
    m_gui = gui;
}

void CKpMsg::Create(int severity, const char* format, ...) {
    char text[MESSAGE_LEN];
    va_list args;
    va_start(args, format);
    FormatMessage(text, format, args);
    va_end(args);
    Issue(severity, text);
}

void CKpMsg::HoldMessages(std::vector<std::pair<int, std::string>>* held) {
    m_held = held;
    m_heldLost = false;
}

void CKpMsg::Issue(int severity, const char* text) {
    if (m_held) {
        try {
            m_held->emplace_back(severity, text);
        } catch (const std::bad_alloc&) {
            m_heldLost = true;
        }
        return;
    }
    if (severity == m_lastSeverity && m_lastText == text) {
        ++m_repeatCount;
        return;
    }
    if (m_repeatCount > 1) {
        char notice[64];
        std::snprintf(notice, sizeof(notice), "(...repeated %d times...)", m_repeatCount);
        WriteToAll(severity, notice);
    }
    m_repeatCount = 1;
    m_lastSeverity = severity;
    m_lastText = text;
    WriteToAll(severity, text);
}

int CKpMsg::CreateDirect(int channel, int severity, const char* format, ...) {
    char text[MESSAGE_LEN];
    va_list args;
    va_start(args, format);
    FormatMessage(text, format, args);
    va_end(args);
    WriteToMessageFile(severity, text);
    int answer = m_gui ? m_gui->Message(channel, severity, text) : 0;
    if (answer != 0 && m_file) {
        std::fprintf(m_file, "$# retval: %d\n", answer);
        std::fflush(m_file);
    }
    return answer;
}

void CKpMsg::WriteToMessageFile(int severity, const char* text) {
    if (!m_file) return;
    if (!text) text = "";
    if (severity == 4)
        std::fprintf(m_file, "$# ERROR: %s\n", text);
    else if (severity == 2)
        std::fprintf(m_file, "$# WARNING: %s\n", text);
    else
        std::fprintf(m_file, "$# %s\n", text);
    std::fflush(m_file);
}

void CKpMsg::WriteToMessageStore(int severity, const char* text) {
    if (ReachesStoreAndHost(severity)) m_store.AddMessage(severity, text);
}

void CKpMsg::WriteToHost(int severity, const char* text) {
    if (m_gui && ReachesStoreAndHost(severity)) m_gui->Message(1, severity, text ? text : "");
}

void CKpMsg::WriteToAll(int severity, const char* text) {
    WriteToMessageFile(severity, text);
    WriteToMessageStore(severity, text);
    WriteToHost(severity, text);
}

int CKpMsg::FileOpen(const char* path) {
    if (m_file) FileClose();
    FILE* file = path ? std::fopen(path, "w") : nullptr;
    if (!file) {
        Create(4, "Could not open file '%s' for writing.", path ? path : "");
        return -1;
    }
    m_file = file;
    Create(1, "Layup Lib %8d API %8d File %8d", 20081110, 20081003, 20081003);
    Create(1, "Message file opened");
    return 0;
}

int CKpMsg::FileClose() {
    Create(1, "Close message file");
    if (!m_file) return 0;
    FILE* file = m_file;
    // After fclose the stream is gone whatever its result, so it is forgotten
    // before the error below is issued.
    m_file = nullptr;
    if (std::fclose(file) != 0) {
        Create(4, "Could not close message file");
        return -1;
    }
    return 0;
}

void CKpMsg::SetMessageStoreParams(int maxCount, double maxAge) {
    m_store.SetParams(maxCount, maxAge);
}

void CKpMsg::FlushMessageStore() {
    m_store.Flush();
}

int CKpMsg::GetFirstMessageInStore(double age, int* level, char* text, int textSize) {
    return m_store.GetFirstMessage(age, level, text, textSize);
}

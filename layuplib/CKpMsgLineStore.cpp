#include "layuplib/CKpMsgLineStore.h"

#include <ctime>
#include <new>

CKpMsgLineStore::CKpMsgLineStore() : m_maxCount(100), m_maxAge(0.0) {}

CKpMsgLineStore::~CKpMsgLineStore() {
    Flush();
}

void CKpMsgLineStore::SetParams(int maxCount, double maxAge) {
    m_maxCount = maxCount;
    m_maxAge = maxAge;
}

void CKpMsgLineStore::AddMessage(int level, const char* text) {
    if (m_maxCount < 1) return;
    while (entries() >= m_maxCount) delete DeleteFirst();
    CKpMsgLine* line = new (std::nothrow) CKpMsgLine(level, text, std::time(nullptr));
    if (line) InsertLast(line);
}

int CKpMsgLineStore::GetFirstMessage(double age, int* level, char* text, int textSize) {
    if (!text || textSize <= 0) return 1;
    if (entries() == 0) return 1;
    const time_t now = std::time(nullptr);
    CKpMsgLine* line = DeleteFirst();
    while (age > 0.0 && std::difftime(now, static_cast<time_t>(line->GetTime())) > age) {
        delete line;
        line = DeleteFirst();
        if (!line) return 2;
    }
    if (level) *level = line->GetLevel();
    const CKpStr& message = line->GetText();
    int n = message.Size();
    if (n > textSize - 1) n = textSize - 1;
    for (int i = 0; i < n; ++i) text[i] = message.Buffer()[i];
    text[n] = '\0';
    delete line;
    return 0;
}

void CKpMsgLineStore::Flush() {
    eraseAllObjects();
}

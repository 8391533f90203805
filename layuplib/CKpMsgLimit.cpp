#include "layuplib/CKpMsgLimit.h"

#include <cstdarg>
#include <cstdio>

#include "layuplib/CKpMsg.h"

CKpMsgLimit::CKpMsgLimit(CKpMsg* msg, int limit)
    : m_msg(msg), m_limit(limit > 0 ? limit : 0), m_count(0) {}

void CKpMsgLimit::Create(int severity, const char* format, ...) {
    if (m_count++ >= m_limit || !m_msg) return;
    char text[CKpMsg::MESSAGE_LEN];
    va_list args;
    va_start(args, format);
    if (std::vsnprintf(text, sizeof text, format, args) < 0) text[0] = '\0';
    va_end(args);
    m_msg->Create(severity, "%s", text);
}

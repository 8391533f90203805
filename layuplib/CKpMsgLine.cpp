#include "layuplib/CKpMsgLine.h"

CKpMsgLine::CKpMsgLine(int level, const char* text, int64_t time)
    : m_time(time), m_level(level), m_text(text ? text : "") {}

CKpMsgLine::~CKpMsgLine() = default;

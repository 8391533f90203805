#ifndef PLYSTRAND_LAYUPLIB_CKPMSGLIMIT_H
#define PLYSTRAND_LAYUPLIB_CKPMSGLIMIT_H

class CKpMsg;

// CKpMsgLimit: keeps one kind of reader message from flooding the log. The
// first `limit` messages issued through it go to the message log as they
// are; later ones are only counted (Suppressed), so that the caller can end
// with one line giving the count of the rest. Not owned: the log.
class CKpMsgLimit {
  public:
    // `msg` may be null (nothing is issued, messages are still counted);
    // `limit` below 0 is taken as 0.
    explicit CKpMsgLimit(CKpMsg* msg, int limit = 5);
    CKpMsgLimit(const CKpMsgLimit&) = delete;
    CKpMsgLimit& operator=(const CKpMsgLimit&) = delete;

    // Formats and issues a message of `severity` (1, 2, 4 as CKpMsg::Create)
    // while fewer than `limit` have been issued; counts it otherwise.
    void Create(int severity, const char* format, ...) __attribute__((format(printf, 3, 4)));

    // Messages issued through Create so far, shown or not.
    int Count() const { return m_count; }
    // Messages counted but not shown.
    int Suppressed() const { return m_count > m_limit ? m_count - m_limit : 0; }

  private:
    CKpMsg* m_msg;
    int m_limit;
    int m_count;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPMSGLIMIT_H

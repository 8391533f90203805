#ifndef PLYSTRAND_LAYUPLIB_CKPFILE_H
#define PLYSTRAND_LAYUPLIB_CKPFILE_H

#include "layuplib/CKpStr.h"

// CKpFile: the record of the model's file: its name (path), type and
// comment. The lifecycle operations set the name; the readers and writers
// read and set the three texts.
class CKpFile {
  public:
    // Three unset texts.
    CKpFile() = default;

    // Setters copy the text; null unsets it.
    void SetName(const char* name) { m_name = name; }
    void SetType(const char* type) { m_type = type; }
    void SetComment(const char* comment) { m_comment = comment; }
    // The texts; "" when unset.
    const char* GetName() const { return m_name; }
    const char* GetType() const { return m_type; }
    const char* GetComment() const { return m_comment; }

    // Unsets all three texts.
    void Clear();

  private:
    CKpStr m_name;
    CKpStr m_type;
    CKpStr m_comment;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPFILE_H

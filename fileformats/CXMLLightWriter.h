#ifndef PLYSTRAND_FILEFORMATS_CXMLLIGHTWRITER_H
#define PLYSTRAND_FILEFORMATS_CXMLLIGHTWRITER_H

#include <cstdio>
#include <vector>

#include "layuplib/CKpStr.h"

// CXMLLightWriter: a streaming XML writer. Elements go straight to the file;
// only the names of the open elements and whether each has received content
// are kept. A start tag stays open after Begin so that attributes can follow;
// End writes an empty-element tag when nothing was written inside.
//
// Text and attribute values holding characters that need escaping are
// written with "&#NNN;" references for the reserved characters (< > & ' ")
// and for bytes of 128 and above that are not part of valid UTF-8; valid
// UTF-8 passes unchanged and control characters other than tab, CR and LF
// (which XML cannot carry) become U+FFFD.
//
// Balanced Begin/End calls are the caller's duty; Data, End and BeginEnd
// without an open element are ignored.
class CXMLLightWriter {
  public:
    CXMLLightWriter();
    // Closes an open stream.
    ~CXMLLightWriter();

    CXMLLightWriter(const CXMLLightWriter&) = delete;
    CXMLLightWriter& operator=(const CXMLLightWriter&) = delete;

    // Opens `path` for writing (closing a stream already open) and writes
    // the XML declaration. 0; 1 for a null path; 2 when the file cannot be
    // created.
    int Open(const char* path);
    // Closes the stream when one is open. 0; 1 when a write since Open or
    // the close itself failed (the data may be incomplete).
    int Close();

    void Begin(const char* name);
    // " name=\"value\"" into the open start tag: the value escaped, "%g" or
    // "%d".
    void Attribute(const char* name, const char* value);
    void Attribute(const char* name, double value);
    void Attribute(const char* name, int value);
    // Text content of the innermost element, escaped, without a line end.
    void Data(const char* text);
    void End();
    // "<name/>\n" as is: neither closes an open start tag nor marks content
    // (meant right after Data).
    void BeginEnd(const char* name);
    // "<!--text-->\n" as is.
    void Comment(const char* text);
    // Tabs for the indentation level (at most 63).
    void Indent();

    // The reserved characters < > & ' and the double quote.
    static int IsReservedCharacter(char c);
    // A byte that needs no escaping: at least 32 as a signed char and not
    // reserved, or tab, CR, LF. Bytes of 128 and above are not.
    static int IsCharacter(char c);
    // 1 when `text` holds a byte that is not IsCharacter, else 0.
    static int ContainsInvalidCharacter(const char* text);
    // out := the escaped form of text (see the class comment).
    static void ReplaceInvalidCharacters(const char* text, CKpStr& out);

    // Depth of the name pool (greatest nesting depth reached).
    int PoolSize() const { return static_cast<int>(m_names.size()); }

  protected:
    // Data for text the caller built from numbers, blanks, commas and the
    // writer's own tags, which needs no escaping: `length` bytes as they
    // are.
    void DataVerbatim(const char* text, size_t length);

    FILE* m_stream;

  private:
    void Put(const char* text);
    void PutEscaped(const char* text);
    void CloseStartTag();

    int m_indent;
    int m_startTagOpen;
    std::vector<CKpStr> m_names;  // reused per depth
    std::vector<CKpStr*> m_open;  // into m_names, innermost last
    std::vector<int> m_content;
    bool m_failed;
};

#endif

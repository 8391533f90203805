#ifndef PLYSTRAND_FILEFORMATS_CXMLPARSER_H
#define PLYSTRAND_FILEFORMATS_CXMLPARSER_H

#include "layuplib/CKpStr.h"

// CXMLParser: an event-driven XML document over expat. Create reads the
// file in 4096-byte pieces (never whole) and turns expat's element and text
// events into the virtual calls below. Attributes are expat's list: name
// and value texts alternating, ended by a null name; text passed to OnData
// is not terminated.
class CXMLParser {
  public:
    CXMLParser() = default;
    virtual ~CXMLParser() = default;

    CXMLParser(const CXMLParser&) = delete;
    CXMLParser& operator=(const CXMLParser&) = delete;

    // Parses the file. 0; 1 when it cannot be opened (or the parser cannot
    // be made); 2 on a parse error, LastError then "Parse Error: <expat's
    // text> at line <n>".
    int Create(const char* path);
    const char* LastError() const { return m_lastError; }

    // The value of the first attribute named exactly `name`, or null.
    static const char* GetAttributeValue(const char** attributes, const char* name);

    // expat callbacks; the user data is the document.
    static void StartElement(void* user, const char* name, const char** attributes);
    static void EndElement(void* user, const char* name);
    static void RecieveData(void* user, const char* text, int length);

  protected:
    // Called once before the first piece is parsed.
    virtual void OnCreate() {}
    virtual void OnStartElement(const char* name, const char** attributes) = 0;
    virtual void OnEndElement(const char* name) = 0;
    virtual void OnData(const char* text, int length) = 0;

  private:
    CKpStr m_lastError;
};

#endif

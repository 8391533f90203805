#ifndef PLYSTRAND_FILEFORMATS_CXMLPARSERCHILD_H
#define PLYSTRAND_FILEFORMATS_CXMLPARSERCHILD_H

#include "layuplib/CKpStr.h"

class CXMLParser;

// CXMLParserChild: handler of one element subtree of a CXMLParser document.
// The document pushes the handler a child start returns and pops it at the
// end tag of its element name. Attributes are expat's list (name, value,
// ..., null); text is not terminated.
class CXMLParserChild {
  public:
    CXMLParserChild() : m_parent(nullptr), m_document(nullptr) {}
    virtual ~CXMLParserChild() = default;

    CXMLParserChild(const CXMLParserChild&) = delete;
    CXMLParserChild& operator=(const CXMLParserChild&) = delete;

    // A new handler for the child element, or null (the default).
    virtual CXMLParserChild* OnStartChildElement(const char*, const char**) { return nullptr; }
    virtual void OnEndChildElement(const char*) {}
    virtual void OnChildData(const char*, int) {}

    CXMLParserChild* GetParent() const { return m_parent; }
    void SetParent(CXMLParserChild* parent) { m_parent = parent; }
    CXMLParser* GetDocument() const { return m_document; }
    void SetDocument(CXMLParser* document) { m_document = document; }
    const char* GetElementName() const { return m_elementName; }
    void SetElementName(const char* name) { m_elementName = name; }

  private:
    CXMLParserChild* m_parent;
    CKpStr m_elementName;
    CXMLParser* m_document;
};

#endif

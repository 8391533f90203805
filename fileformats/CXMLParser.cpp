#include "fileformats/CXMLParser.h"

#include <expat.h>

#include <cstdio>
#include <cstring>
#include <string>

int CXMLParser::Create(const char* path) {
    FILE* file = path ? std::fopen(path, "r") : nullptr;
    if (!file) return 1;
    XML_Parser parser = XML_ParserCreate(nullptr);
    if (!parser) {
        std::fclose(file);
        return 1;
    }
    XML_SetElementHandler(parser, StartElement, EndElement);
    XML_SetCharacterDataHandler(parser, RecieveData);
    XML_SetUserData(parser, this);
    OnCreate();

    char buffer[4096];
    int status = 0;
    long long total = 0;  // bytes handed to the parser
    for (;;) {
        const size_t count = std::fread(buffer, 1, sizeof buffer, file);
        total += static_cast<long long>(count);
        // A short read is the end of the file (or a read error, which then
        // shows as a parse error of the truncated document).
        const int final = count < sizeof buffer;
        if (XML_Parse(parser, buffer, static_cast<int>(count), final) == XML_STATUS_ERROR) {
            // Errors only the end of the input raises, or one at its last
            // byte: a document cut short.
            const XML_Error code = XML_GetErrorCode(parser);
            const bool atEnd = final && (code == XML_ERROR_UNCLOSED_TOKEN ||
                                         code == XML_ERROR_NO_ELEMENTS ||
                                         code == XML_ERROR_PARTIAL_CHAR ||
                                         code == XML_ERROR_UNCLOSED_CDATA_SECTION ||
                                         XML_GetCurrentByteIndex(parser) >= total - 1);
            std::string text = std::string("Parse Error: ") + (atEnd ? "the file ends early (" : "") +
                               XML_ErrorString(code) + (atEnd ? ")" : "") +
                               " at line " + std::to_string(XML_GetCurrentLineNumber(parser));
            m_lastError = text.c_str();
            status = 2;
            break;
        }
        if (final) break;
    }
    XML_ParserFree(parser);
    std::fclose(file);
    return status;
}

const char* CXMLParser::GetAttributeValue(const char** attributes, const char* name) {
    if (!attributes || !name) return nullptr;
    for (int i = 0; attributes[i]; i += 2)
        if (std::strcmp(attributes[i], name) == 0) return attributes[i + 1];
    return nullptr;
}

void CXMLParser::StartElement(void* user, const char* name, const char** attributes) {
    static_cast<CXMLParser*>(user)->OnStartElement(name, attributes);
}

void CXMLParser::EndElement(void* user, const char* name) {
    static_cast<CXMLParser*>(user)->OnEndElement(name);
}

void CXMLParser::RecieveData(void* user, const char* text, int length) {
    static_cast<CXMLParser*>(user)->OnData(text, length);
}

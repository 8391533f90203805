#include "layuplib/CSVParser.h"

namespace SolidElements {

CSVParser::~CSVParser() {
    Close();
}

int CSVParser::Open(const char* path) {
    if (!path) return 1;
    Close();
    m_file = std::fopen(path, "r");
    return m_file ? 0 : 2;
}

void CSVParser::Close() {
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
}

int CSVParser::ReadNextLine(std::vector<std::string>& fields) {
    fields.clear();
    if (!m_file) return 1;
    for (;;) {
        int c = std::fgetc(m_file);
        if (c == EOF) return 2;
        fields.emplace_back();
        bool quoted = false;
        bool blankSoFar = true;  // no non-blank character yet on this line
        bool comment = false;
        for (; c != EOF && c != '\n'; c = std::fgetc(m_file)) {
            if (c == '\r') continue;
            if (blankSoFar && !quoted && c == m_comment) {
                comment = true;
                break;
            }
            if (c != ' ' && c != '\t') blankSoFar = false;
            if (c == '"') {
                if (!quoted) {
                    quoted = true;
                    continue;
                }
                const int next = std::fgetc(m_file);
                if (next == '"') {
                    fields.back().push_back('"');
                    continue;
                }
                quoted = false;
                if (next != EOF) std::ungetc(next, m_file);
                continue;
            }
            if (c == ',' && !quoted) {
                fields.emplace_back();
                continue;
            }
            fields.back().push_back(static_cast<char>(c));
        }
        if (!comment) return 0;
        // Skip the rest of the comment line, then read the next line instead.
        while (c != EOF && c != '\n') c = std::fgetc(m_file);
        fields.clear();
        if (c == EOF) return 2;
    }
}

}  // namespace SolidElements

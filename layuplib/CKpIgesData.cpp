#include "layuplib/CKpIgesData.h"

#include <cassert>
#include <cstring>
#include <new>

namespace {

// Nine right-aligned 8-column fields, the section letter and a seven-digit
// sequence number: one 80-column line.
void writeFields(FILE* fp, char fields[9][16], char section, int sequence) {
    std::fprintf(fp, "%8s%8s%8s%8s%8s%8s%8s%8s%8s%c%07d\n", fields[0], fields[1], fields[2],
                 fields[3], fields[4], fields[5], fields[6], fields[7], fields[8], section,
                 sequence);
}

// A parameter record padded to column 64, then the entity's directory
// pointer and the sequence number. Padding from the text keeps the
// pointer columns in place whatever the width of the record's numbers.
void writeParameter(FILE* fp, const char* text, int directoryPointer, int sequence) {
    std::fprintf(fp, "%-64s%8dP%07d\n", text, directoryPointer, sequence);
}

}  // namespace

CKpIgesData::~CKpIgesData() = default;

void CKpIgesData::WriteDirectory(int* lines, FILE* fp, int numParameterLines) const {
    char f[9][16] = {};
    std::snprintf(f[0], sizeof f[0], "%8d", type);
    std::snprintf(f[1], sizeof f[1], "%8d", parameterPointer);
    if (level >= 1) std::snprintf(f[4], sizeof f[4], "%8d", level);
    std::snprintf(f[8], sizeof f[8], "%08d", status);
    writeFields(fp, f, 'D', ++*lines);

    char g[9][16] = {};
    std::snprintf(g[0], sizeof g[0], "%8d", type);
    std::snprintf(g[3], sizeof g[3], "%8d", numParameterLines);
    writeFields(fp, g, 'D', ++*lines);
}

// ---------------------------------------------------------------- 110

void CKpIgesData110::WriteDirectoryLines(int* lines, FILE* fp) const {
    WriteDirectory(lines, fp, GetNumParameterLines());
}

void CKpIgesData110::WriteParameterLines(int* lines, FILE* fp) const {
    char text[128];
    std::snprintf(text, sizeof text, "%3d,%16.8G,%16.8G,%16.8G,", type, x0, y0, z0);
    writeParameter(fp, text, directoryPointer, ++*lines);
    std::snprintf(text, sizeof text, "    %16.8G,%16.8G,%16.8G;", x1, y1, z1);
    writeParameter(fp, text, directoryPointer, ++*lines);
}

// ---------------------------------------------------------------- 118

void CKpIgesData118::WriteDirectoryLines(int* lines, FILE* fp) const {
    WriteDirectory(lines, fp, GetNumParameterLines());
}

void CKpIgesData118::WriteParameterLines(int* lines, FILE* fp) const {
    char text[128];
    std::snprintf(text, sizeof text, "%3d,%6d,%6d,%6d,%6d;", type, curve1, curve2, direction,
                  developable);
    writeParameter(fp, text, directoryPointer, ++*lines);
}

// ---------------------------------------------------------------- 102

CKpIgesData102::CKpIgesData102() : m_refs(64) {
    type = 102;
}

CKpIgesData102::~CKpIgesData102() {
    m_refs.eraseAllObjects();
}

int CKpIgesData102::AddRef(int directoryPointer) {
    CVekObject* ref = new (std::nothrow) CVekObject(directoryPointer);
    if (!ref) return -1;
    if (m_refs.insert(ref) != 0) {
        delete ref;
        return -1;
    }
    return 0;
}

int CKpIgesData102::GetNumParameterLines() const {
    const int m = m_refs.entries();
    if (m < 1) return 0;
    if (m <= 6) return 1;
    return (m - 7) / 7 + 2;
}

void CKpIgesData102::WriteDirectoryLines(int* lines, FILE* fp) const {
    WriteDirectory(lines, fp, GetNumParameterLines());
}

void CKpIgesData102::WriteParameterLines(int* lines, FILE* fp) {
    const int m = m_refs.entries();
    if (m < 1) return;
    // Positional access merges the pending members, so ids come ascending.
    int next = 0;
    bool first = true;
    while (next < m) {
        char f[9][16] = {};
        int field = 1;
        if (first) {
            std::snprintf(f[0], sizeof f[0], "%s", "102,    ");
            std::snprintf(f[1], sizeof f[1], "%7d,", m);
            field = 2;
        }
        for (; field < 8 && next < m; ++field, ++next)
            std::snprintf(f[field], sizeof f[field], "%7d%c", m_refs[next]->id(),
                          next + 1 < m ? ',' : ';');
        std::snprintf(f[8], sizeof f[8], "%8d", directoryPointer);
        writeFields(fp, f, 'P', ++*lines);
        first = false;
    }
}

// ---------------------------------------------------------------- store

void CKpIgesDataStore::Number(CKpIgesData* entity, int numParameterLines) {
    entity->directoryPointer = m_numDirectoryLines + 1;
    m_numDirectoryLines += CKpIgesData::GetNumDirectoryLines();
    entity->parameterPointer = m_numParameterLines + 1;
    m_numParameterLines += numParameterLines;
    InsertLast(entity);
}

void CKpIgesDataStore::InsertLastIges110(CKpIgesData110* line) {
    Number(line, CKpIgesData110::GetNumParameterLines());
}

void CKpIgesDataStore::InsertLastIges118(CKpIgesData118* surface) {
    Number(surface, CKpIgesData118::GetNumParameterLines());
}

void CKpIgesDataStore::InsertLastIges102(CKpIgesData102* curve) {
    Number(curve, curve->GetNumParameterLines());
}

int CKpIgesDataStore::WriteDirectorySection(FILE* fp) {
    int lines = 0;
    for (CKpIgesData* e = First(); e; e = Next(e)) {
        switch (e->type) {
            case 102:
                static_cast<CKpIgesData102*>(e)->WriteDirectoryLines(&lines, fp);
                break;
            case 110:
                static_cast<CKpIgesData110*>(e)->WriteDirectoryLines(&lines, fp);
                break;
            case 118:
                static_cast<CKpIgesData118*>(e)->WriteDirectoryLines(&lines, fp);
                break;
            default:
                break;
        }
    }
    assert(lines == m_numDirectoryLines);
    return lines;
}

int CKpIgesDataStore::WriteParameterSection(FILE* fp) {
    int lines = 0;
    for (CKpIgesData* e = First(); e; e = Next(e)) {
        switch (e->type) {
            case 102:
                static_cast<CKpIgesData102*>(e)->WriteParameterLines(&lines, fp);
                break;
            case 110:
                static_cast<CKpIgesData110*>(e)->WriteParameterLines(&lines, fp);
                break;
            case 118:
                static_cast<CKpIgesData118*>(e)->WriteParameterLines(&lines, fp);
                break;
            default:
                break;
        }
    }
    assert(lines == m_numParameterLines);
    return lines;
}

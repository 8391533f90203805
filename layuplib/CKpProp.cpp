#include "layuplib/CKpProp.h"

#include <cstdarg>
#include <cstdio>

#include "layuplib/CKpCoord.h"
#include "layuplib/CKpLam.h"
#include "layuplib/angle_util.h"

CKpProp::CKpProp(int id)
    : CVekObject(id),
      m_propMode(0),
      m_pLam(nullptr),
      m_pCoord(nullptr),
      m_rotn(0.0),
      m_axis(0),
      m_epOpts{0, 0, 0, 0, 0, 0} {}

CKpProp::CKpProp(int id, const char* name, int mode, CKpLam* lam, CKpCoord* coord, double rotn,
                 const CKpDirn& dirn, int axis, const int options[6])
    : CVekObject(id),
      m_name(name ? name : ""),
      m_propMode(mode),
      m_pLam(lam),
      m_pCoord(coord),
      m_rotn(rotn),
      m_pDirn(dirn),
      m_axis(axis),
      m_epOpts{0, 0, 0, 0, 0, 0} {
    if (options)
        for (int i = 0; i < 6; ++i) m_epOpts[i] = options[i];
}

CKpProp::~CKpProp() = default;  // the element store deletes its entries

const char* CKpProp::GetName() {
    m_displayName = m_name;
    m_displayName += id();
    return m_displayName;
}

int CKpProp::GetOptions(int options[6]) {
    if (!options) return 1;
    for (int i = 0; i < 6; ++i) options[i] = m_epOpts[i];
    return 0;
}

int CKpProp::GetNumWords() {
    switch (m_propMode) {
        case 1:
        case 2:
            return 3;
        case 3:
        case 5:
        case 6:
        case 8:
        case 9:
        case 108:
        case 118:
        case 1108:
            return 2;
        case 4:
        case 7:
        case 2004:
            return 1;
        default:  // mode 0 and the modes without a word table
            return 0;
    }
}

namespace {

// One word: id, type and the value formatted into a buffer of
// WORD_VALUE_LEN bytes (cut when longer).
void putWord(int k, int wordId, int type, int* ids, int* types, char** values, const char* format,
             ...) __attribute__((format(printf, 7, 8)));

void putWord(int k, int wordId, int type, int* ids, int* types, char** values, const char* format,
             ...) {
    ids[k] = wordId;
    types[k] = type;
    va_list args;
    va_start(args, format);
    std::vsnprintf(values[k], IVekPropertySet::WORD_VALUE_LEN, format, args);
    va_end(args);
}

}  // namespace

int CKpProp::GetWordIdsTypesValues(int n, int* ids, int* types, char** values) {
    if (n != GetNumWords()) return 1;
    switch (m_propMode) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:
        case 7:
        case 8:
        case 9:
        case 108:
        case 118:
        case 1108:
        case 2004:
            break;
        default:
            return 2;
    }
    if (n == 0) return 0;
    if (!ids || !types || !values) return 3;
    for (int k = 0; k < n; ++k)
        if (!values[k]) return 3;

    const char* name = m_name;
    const int lamId = m_pLam ? m_pLam->id() : 0;
    const int coordId = GetCoordID();
    const double angle = simplify_degrees(degrees(m_rotn));

    if (m_propMode == 118)
        putWord(0, 13, 5, ids, types, values, "m:%s", static_cast<const char*>(m_matName));
    else
        putWord(0, 13, 5, ids, types, values, "m:%s%d", name, lamId);

    switch (m_propMode) {
        case 1:
            putWord(1, 21, 9, ids, types, values, "Coord%d", coordId);
            putWord(2, 1079, 3, ids, types, values, "%d", m_axis);
            break;
        case 2:
            putWord(1, 21, 9, ids, types, values, "Coord%d", coordId);
            putWord(2, 20, 1, ids, types, values, "%16.8G", angle);
            break;
        case 3:
            putWord(1, 20, 1, ids, types, values, "%16.8G", angle);
            break;
        case 5:
            putWord(1, 20, 2, ids, types, values, "<%G,%G,%G>", m_pDirn.getx(), m_pDirn.gety(),
                    m_pDirn.getz());
            break;
        case 6:
        case 8:
        case 108:
            putWord(1, 20, 9, ids, types, values, "Coord%d", coordId);
            break;
        case 9:
            putWord(1, 20, 1, ids, types, values, "f:%s", static_cast<const char*>(m_fieldName));
            break;
        case 118:
        case 1108:
            putWord(1, 21, 9, ids, types, values, "Coord%d", coordId);
            break;
        default:  // one word only
            break;
    }
    return 0;
}

int CKpProp::GetNumElems() {
    return m_pPropElems.entries();
}

int CKpProp::GetElemIds(int n, int* ids) {
    if (n != m_pPropElems.entries()) return 1;
    if (n == 0) return 0;
    if (!ids) return 1;
    m_pPropElems.GetAllIds(n, ids);
    return 0;
}

IVekLam* CKpProp::GetLam() {
    return m_pLam;
}

int CKpProp::GetCoordID() {
    return m_pCoord ? m_pCoord->id() : 0;
}

int CKpProp::GetAxis() {
    return m_axis;
}

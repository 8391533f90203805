#ifndef PLYSTRAND_LAYUPLIB_CKPIGESDATA_H
#define PLYSTRAND_LAYUPLIB_CKPIGESDATA_H

#include <cstdio>

#include "layuplib/CVekList.h"
#include "layuplib/CVekListItem.h"
#include "layuplib/CVekObject.h"
#include "layuplib/CVekObjectStore.h"

// The entities of one IGES file, kept in memory and numbered as they are
// added, and the writers of the directory and parameter sections in the
// fixed 80-column ASCII form. Three entity types: 102 composite curve, 110
// line, 118 ruled surface. Coordinates are written as given (model units).
//
// Every entity takes two directory lines. The k-th entity of a file
// (counting from 0) has directory pointer 2k + 1; its parameter pointer is
// the sequence number of its first parameter line.

// CKpIgesData: the entity base, a link of the file's entity list. All
// fields are 0 after construction.
class CKpIgesData : public CVekListItem {
  public:
    CKpIgesData() = default;
    ~CKpIgesData() override;

    // Entity type: 102, 110 or 118 (set by the derived constructors).
    int type = 0;
    // Sequence number of the first directory line (1, 3, 5, ...) and of
    // the first parameter line; both set on insertion into a store.
    int directoryPointer = 0;
    int parameterPointer = 0;
    // Directory field 5: written when 1 or more, blank otherwise.
    int level = 0;
    // Directory field 9, written as eight digits ("%08d").
    int status = 0;

    // Always 2.
    static int GetNumDirectoryLines() { return 2; }

  protected:
    // Writes the two directory lines with `numParameterLines` in field 4
    // of the second line; *lines is raised before each line and is that
    // line's sequence number.
    void WriteDirectory(int* lines, FILE* fp, int numParameterLines) const;
};

// CKpIgesData110: a line from (x0, y0, z0) to (x1, y1, z1); two parameter
// lines, reals "%16.8G".
class CKpIgesData110 : public CKpIgesData {
  public:
    CKpIgesData110() { type = 110; }
    double x0 = 0.0, y0 = 0.0, z0 = 0.0;
    double x1 = 0.0, y1 = 0.0, z1 = 0.0;

    static int GetNumParameterLines() { return 2; }
    // Write the entity's lines; *lines is the running sequence counter of
    // the section, raised before each line.
    void WriteDirectoryLines(int* lines, FILE* fp) const;
    void WriteParameterLines(int* lines, FILE* fp) const;
};

// CKpIgesData118: a ruled surface between two curves given by their
// directory pointers. Direction flag 0 joins the first ends and the last
// ends of the two curves, 1 the first end of one with the last end of the
// other; developable flag 0. One parameter line.
class CKpIgesData118 : public CKpIgesData {
  public:
    CKpIgesData118() { type = 118; }
    int curve1 = 0;
    int curve2 = 0;
    int direction = 0;
    int developable = 0;

    static int GetNumParameterLines() { return 1; }
    void WriteDirectoryLines(int* lines, FILE* fp) const;
    void WriteParameterLines(int* lines, FILE* fp) const;
};

// CKpIgesData102: a composite curve; its members are held by directory
// pointer and written in ascending order (the writers insert members in
// path order, so that is path order). Members are added before the curve
// is inserted into a store, since the insertion counts its parameter
// lines.
class CKpIgesData102 : public CKpIgesData {
  public:
    CKpIgesData102();
    // Deletes the member records.
    ~CKpIgesData102() override;
    CKpIgesData102(const CKpIgesData102&) = delete;
    CKpIgesData102& operator=(const CKpIgesData102&) = delete;

    // Adds the member whose directory pointer is `directoryPointer`. 0; -1
    // when memory runs out (the member is not added).
    int AddRef(int directoryPointer);
    // Number of members held.
    int GetNumRefs() const { return m_refs.entries(); }
    // Parameter lines for m members: 0 for m < 1, 1 for m <= 6, otherwise
    // (m - 7) / 7 + 2 (six pointers on the first line, seven on each
    // further one).
    int GetNumParameterLines() const;
    void WriteDirectoryLines(int* lines, FILE* fp) const;
    // A curve without members writes nothing.
    void WriteParameterLines(int* lines, FILE* fp);

  private:
    CVekObjectStore<CVekObject> m_refs;
};

// CKpIgesDataStore: the entities of one file in file order. The store
// numbers what it is given and links it, but does not own it: the writer
// that filled it deletes the entities with eraseAllObjects.
class CKpIgesDataStore : public CVekList<CKpIgesData> {
  public:
    CKpIgesDataStore() = default;

    // Number the entity (directory pointer m_numDirectoryLines + 1,
    // parameter pointer m_numParameterLines + 1, both counts raised) and
    // append it.
    void InsertLastIges110(CKpIgesData110* line);
    void InsertLastIges118(CKpIgesData118* surface);
    void InsertLastIges102(CKpIgesData102* curve);

    int GetNumDirectoryLines() const { return m_numDirectoryLines; }
    int GetNumParameterLines() const { return m_numParameterLines; }

    // Write every entity's directory (parameter) lines in list order; an
    // entity of another type is skipped. Return the number of lines
    // written, which equals the store's count.
    int WriteDirectorySection(FILE* fp);
    int WriteParameterSection(FILE* fp);

  private:
    void Number(CKpIgesData* entity, int numParameterLines);

    int m_numDirectoryLines = 0;
    int m_numParameterLines = 0;
};

// CKpIgesLine: work record of the mould-surface file: the facet index and
// local edge (0..2) a line was made from; -1 both while the slot is empty.
class CKpIgesLine {
  public:
    int facet = -1;
    int edge = -1;
};

// CKpIgesSurf: work record of the mould-surface file: the indices of a
// facet's first and second line (-1 while unset) and the ruled surface's
// direction flag.
class CKpIgesSurf {
  public:
    int line1 = -1;
    int line2 = -1;
    int direction = 0;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPIGESDATA_H

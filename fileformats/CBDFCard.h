#ifndef PLYSTRAND_FILEFORMATS_CBDFCARD_H
#define PLYSTRAND_FILEFORMATS_CBDFCARD_H

#include "fileformats/CBDFFields.h"

class CKpLayup;
class CKpMat;
class CVekObject;

// CBDFCard: base of the bulk data card objects. A card object moves one
// card's fields between a CBDFFields table and the model: Write stores a
// card that was read into the model, Read fills the table from a model
// object so that the table can be written out. (The names are the card's
// view: the card writes itself into the model and reads itself from an
// object.)
//
// Rows are numbered from 0 (the line with the card name); col 0 is the
// name or continuation mark, cols 1 to 8 the data fields.
class CBDFCard {
  public:
    CBDFCard();
    virtual ~CBDFCard();
    CBDFCard(const CBDFCard&) = delete;
    CBDFCard& operator=(const CBDFCard&) = delete;

    // Stores the card in `model` (its stores are created on first use).
    // 0 to go on reading; 1 to end the reading normally (ENDDATA); -1 when
    // the card could not be stored (the reading fails). Base: 0.
    virtual int Write(CKpLayup* model);
    // Fills the table from `object` (the card's model object). 0; -1 when
    // the object is not of the card's kind or there is no table. Base: 0.
    virtual int Read(CVekObject* object);

    // The table the card works on (not owned).
    void SetFields(CBDFFields* fields) { m_fields = fields; }
    // Where the card's table was read (for warnings): the file's path (not
    // copied; null for none) and the card's first line.
    void SetSource(const char* path, long long line) {
        m_path = path;
        m_line = line;
    }
    CBDFFields* GetFields() const { return m_fields; }

    // Forward to the table; the default when there is no table.
    double GetValue(int row, int col, double def) const {
        return m_fields ? m_fields->GetValue(row, col, def) : def;
    }
    int GetValue(int row, int col, int def) const {
        return m_fields ? m_fields->GetValue(row, col, def) : def;
    }
    const CF06FieldVariant* GetValue(int row, int col) const {
        return m_fields ? m_fields->GetValue(row, col) : nullptr;
    }

  protected:
    // Starts a fresh table holding `name` in row 0, col 0. False without a
    // table.
    bool Start(const char* name);
    // A new material for the card's MID: id MID, name and external name
    // "<prefix>.<MID>", external id MID, directionality `tropy`. A MID the
    // store holds already is added again under the same id (a deck's layers
    // name materials by MID, so renumbering would point them at the wrong
    // card), with the warning "<card> <MID> on line <n> of '<path>' repeats
    // a material id; it is added as a further material with id <MID>.".
    // Null for a MID below 1 or when memory runs out.
    CKpMat* AddMaterial(CKpLayup* model, int mid, const char* prefix, int tropy);
    // Degrees of an angle in radians for writing: rounded to 0.001 and
    // wrapped into [-180, 180].
    static double Degrees(double radians);

    CBDFFields* m_fields;
    const char* m_path;  // see SetSource
    long long m_line;
};

#endif  // PLYSTRAND_FILEFORMATS_CBDFCARD_H

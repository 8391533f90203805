#ifndef PLYSTRAND_FILEFORMATS_CBDFCARDGEOM_H
#define PLYSTRAND_FILEFORMATS_CBDFCARDGEOM_H

#include "fileformats/CBDFCard.h"

class CKpElem;
class CKpElemStore;
class CKpOrientStore;
class CKpLayup;
class CKpOrient;

// CBDFCardGEOM: the shell element cards CQUAD4, CQUAD8, CTRIA3, CTRIA6.
// Reading: (0,1) EID, (0,2) PID, the node ids at the card's places, and
// the orientation field:
//  - blank: orientation "Default" (kind 0), angle 0;
//  - an int (MCID): orientation "Coord.<MCID>" (kind 1, frame MCID), angle 0;
//  - a real (THETA, degrees): orientation "Theta" (kind 2), the element's
//    angle THETA in radians.
// A missing orientation is created with id highest + 1. The element is
// found by EID or created with the card's geometry type; a PID makes it a
// shell (element type 1) of that property. Node ids are stored in ring
// order (corners and mid-sides alternating); node objects are linked when
// the read is completed.
class CBDFCardGEOM : public CBDFCard {
  public:
    // gmtp: geometry type; nodeRow/nodeCol: the (row, col) of the node id
    // at each ring position (count entries); orientRow/orientCol: the place
    // of the orientation field.
    CBDFCardGEOM(const char* name, int gmtp, int count, const int* nodeRow, const int* nodeCol,
                 int orientRow, int orientCol);
    // -1 for an EID below 1, an element of that id with another geometry
    // type, or when memory runs out or the orientation store has no id left
    // above its highest for a missing orientation (an element this card
    // made is removed again then).
    int Write(CKpLayup* model) override;
    int GetGmtp() const { return m_gmtp; }

  protected:
    // Starts the table and adds EID and PID (blank when 0). Null when the
    // object is not an element of this card's geometry type.
    CKpElem* StartElement(CVekObject* object);
    // Adds the orientation field of `elem`: the frame id for kind 1, the
    // angle in degrees for kind 2; false (nothing added) for other kinds.
    bool AddOrientation(const CKpElem* elem);
    // True when the element's orientation is of kind 1 or 2.
    static bool HasOrientation(const CKpElem* elem);

  private:
    CKpOrient* FindOrient(CKpLayup* model, const char* name, int kind, int refId);

    // Ascending ids need no lookup (see CBDFCardGRID); the orientations
    // of the last cards are kept while the orientation store is unchanged.
    CKpElemStore* m_elemStore;
    int m_elemEntries;
    int m_maxId;
    CKpOrientStore* m_orientStore;
    int m_orientEntries;
    CKpOrient* m_default;
    CKpOrient* m_theta;
    CKpOrient* m_coord;
    int m_coordId;

    const char* m_name;
    int m_gmtp;
    int m_count;
    const int* m_nodeRow;
    const int* m_nodeCol;
    int m_orientRow;
    int m_orientCol;
};

#endif  // PLYSTRAND_FILEFORMATS_CBDFCARDGEOM_H

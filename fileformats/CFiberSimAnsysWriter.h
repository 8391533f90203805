#ifndef PLYSTRAND_FILEFORMATS_CFIBERSIMANSYSWRITER_H
#define PLYSTRAND_FILEFORMATS_CFIBERSIMANSYSWRITER_H

#include "fileformats/CXMLLightWriter.h"

class CKpLayup;
class CKpMat;
class CKpPly;

// CFiberSimAnsysWriter: writes the model's layup as XML: `Laminate_Layup`
// (PART_NAME, "KelvanorLayup" when the layup has no name) with an
// `Orientation`, then one `Ply` per layup ply in ascending layup-ply id with
// its `Material`, a `Mesh_Point_Table` ("%lf %lf %lf" per point, points
// numbered from 1 per ply in order of first appearance) and a
// `Mesh_Polygon_Table` ("%d %d %d, %lf, %lf": three point numbers, warp and
// weft angle in radians in the facet's axes) over the facets of the ply's
// elements.
class CFiberSimAnsysWriter : public CXMLLightWriter {
  public:
    CFiberSimAnsysWriter();

    // Writes the file and closes it. 0; 1 for a null path or model; 2 when
    // the file cannot be created or written ("Unable to write to XML file: "
    // + path); 3 when a layup ply refers to no ply ("Writing Layup Plies
    // Failed"; the document stays unfinished).
    int Write(const char* path, CKpLayup* model);

  private:
    int WritePlies();
    int WritePly(CKpPly* ply);
    int WritePlyElements(CKpPly* ply);
    int WriteMaterial(CKpMat* mat);

    CKpLayup* m_model;
};

#endif

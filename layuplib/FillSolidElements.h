#ifndef PLYSTRAND_LAYUPLIB_FILLSOLIDELEMENTS_H
#define PLYSTRAND_LAYUPLIB_FILLSOLIDELEMENTS_H

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "layuplib/FillSolidStacking.h"
#include "layuplib/IFillSolid.h"
#include "layuplib/Messages.h"
#include "layuplib/Midpoint.h"
#include "layuplib/SolidCSys.h"
#include "layuplib/SolidElement.h"
#include "layuplib/SolidElementFace.h"
#include "layuplib/SolidSection.h"
#include "layuplib/SolidStackingTube.h"

namespace SolidElements {

// FillSolidElements: the filler behind IFillSolid (see there for the
// operations). It owns every brick, face, column, mid-surface point,
// coordinate system, section and message, and keeps no global state.
class FillSolidElements : public IFillSolid {
  public:
    // The stacking modes under the name of the convenience ReadStacking;
    // the values are those of IFillSolid::EStacking.
    enum EStackingStart : int {
        eStartBottomAndTop = eBottomAndTop,
        eStartFromMidplane = eFromMidplane,
        eStartFromTop = eFromTop,
        eStartFromBottom = eFromBottom
    };

    FillSolidElements() = default;
    FillSolidElements(const FillSolidElements&) = delete;
    FillSolidElements& operator=(const FillSolidElements&) = delete;

    int AddRef() override;
    int Release() override;
    int QueryInterface(const char* name, void** out) override;
    int Create(int nNodes, const int* nodeIds, const double* xyz, int nElems, const int* elemIds,
               const int* elemTypes, int stride, const int* conn) override;
    int CreateStackingTubes(int elemId, const int* faceNodes, int nFaceNodes) override;
    int HasElementOrientationChanged() override;
    int GetElementSizes(int& nNodes, int& nElems, int& maxNodesPerElem) override;
    int GetElementMesh(int* nodeIds, double* xyz, int* elemIds, int* elemTypes, int* conn) override;
    int CreateCSys(const double* x, const double* y, const double* z, double angleTol) override;
    int ReadStacking(EStacking mode, const char* file1, const char* file2) override;
    int CreateSections(const char* resinMaterial, double thicknessTolPercent,
                       double angleTol) override;
    int GetNumCSys(int& n) override;
    int GetNumSections(int& n) override;
    int GetCSys(int i, IFillSolidCSys*& out) override;
    int GetSection(int i, IFillSolidSection*& out) override;
    int GetMidsurfaceElementSizes(int& nNodes, int& nElems, int& nodesPerElem) override;
    int GetMidsurface(int* nodeIds, double* xyz, int* elemIds, int* nodesPerElem,
                      int* conn) override;
    int CreateLayup(ILayup* layup) override;
    int GetLastError(char* buf, int len) override;

    // ---- conveniences

    // The mesh of GetElementMesh in growable arrays (sized here); `stride`
    // receives 20. GetElementMesh's result.
    int GetElements(std::vector<int>& nodeIds, std::vector<double>& xyz, std::vector<int>& elemIds,
                    std::vector<int>& elemTypes, std::vector<int>& conn, int& stride);
    // ReadStacking with the same mode value.
    int ReadStacking(EStackingStart mode, const char* file1, const char* file2);
    // CreateCSys with the three reference vectors in xyz9 (x, y, z, 3
    // doubles each) and the tolerance in degrees.
    int CreateCoordinateSystems(const double* xyz9, double angleDeg);

    // The mid-surface with node ids counted from `firstNodeId` and element
    // ids from `firstElemId` (see GetMidsurface; conn is packed with
    // `nodesPerElem` per element). 0; 1 "Midplane has not been contstructed"
    // when a column has no mid-surface or there is none.
    int ExtractMidsurfaceConnectivity(int firstNodeId, int firstElemId, std::vector<int>& nodeIds,
                                      std::vector<double>& xyz, std::vector<int>& elemIds,
                                      std::vector<int>& conn, int& nodesPerElem);

    // ---- read-only views of the built data (tests and diagnostics)

    const std::vector<std::unique_ptr<SolidElement>>& Elements() const { return m_elements; }
    const std::vector<std::unique_ptr<SolidElementFace>>& Faces() const { return m_faces; }
    const std::vector<std::unique_ptr<SolidStackingTube>>& Tubes() const { return m_tubes; }
    const FillSolidStacking& StackingA() const { return m_stackingA; }
    const FillSolidStacking& StackingB() const { return m_stackingB; }
    const Messages& GetMessages() const { return m_messages; }
    // Elements through the thickness of every column; -1 before the first.
    int GetNumThrough() const { return m_numThrough; }

    virtual ~FillSolidElements();

  private:
    // Records a printf-formatted message of type eError.
    void Message(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // The brick of input id `id`, or null.
    SolidElement* FindElement(int id) const;
    // Walks one column from `entry`; 0, or 3 when it reaches a brick that
    // already lies in a column.
    int WalkTube(SolidStackingTube* tube, SolidElementFace* entry);
    // Builds the mid-surface of columns [firstTube, end) and merges the
    // mid-surface points of all columns.
    void BuildMidsurface(size_t firstTube);
    void BuildTubeMidsurface(SolidStackingTube& tube);
    void MergeMidpoints();
    int NodesPerMidElement() const;

    int m_refCount = 1;
    // Input mesh. Coordinates stay in the block of the Create call that
    // brought them, so that faces may point at them.
    std::vector<int> m_nodeIds;
    std::vector<std::vector<double>> m_xyzBlocks;
    std::vector<std::pair<int, const double*>> m_nodeIndex;  // sorted by id
    std::vector<std::pair<int, SolidElement*>> m_elemIndex;  // sorted by id
    int m_meshType = 0;

    std::vector<std::unique_ptr<SolidElement>> m_elements;
    std::vector<std::unique_ptr<SolidElementFace>> m_faces;
    std::vector<std::unique_ptr<SolidStackingTube>> m_tubes;
    std::vector<std::unique_ptr<Midpoint>> m_midpoints;
    std::vector<const Midpoint*> m_midNodes;  // representatives, by id
    int m_numThrough = -1;
    bool m_orientationChanged = false;
    double m_refX[3] = {0.0, 0.0, 0.0};
    double m_refY[3] = {0.0, 0.0, 0.0};
    double m_refZ[3] = {0.0, 0.0, 0.0};

    EStacking m_mode = static_cast<EStacking>(-1);  // none read: nothing is laid
    FillSolidStacking m_stackingA;
    FillSolidStacking m_stackingB;
    std::string m_resinMaterial;
    std::vector<std::unique_ptr<SolidCSys>> m_csys;
    std::vector<std::unique_ptr<SolidSection>> m_sections;
    Messages m_messages;
};

}  // namespace SolidElements

#endif  // PLYSTRAND_LAYUPLIB_FILLSOLIDELEMENTS_H

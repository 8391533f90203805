#ifndef PLYSTRAND_LAYUPLIB_SOLIDSTACKINGTUBE_H
#define PLYSTRAND_LAYUPLIB_SOLIDSTACKINGTUBE_H

#include <array>
#include <cstddef>
#include <utility>
#include <vector>

namespace SolidElements {

class Midpoint;
class SolidCSys;
class SolidElement;
class SolidElementFace;

// SolidStackingTube: one column of bricks through the thickness, from the
// picked side outward. Its faces are the entry face of each brick then the
// far face of the last (one more than the bricks), each with its centroid.
// Its mid-surface points (one per face node position, 4 or 8; owned by the
// filler) form one shell element of the mid-surface: corners at positions
// 0 .. 3, the mid-side point 4 + j on the edge from corner j to j + 1.
class SolidStackingTube {
  public:
    explicit SolidStackingTube(int faceNodeCount) : m_faceNodeCount(faceNodeCount) {}

    int GetFaceNodeCount() const { return m_faceNodeCount; }
    const std::vector<SolidElement*>& Elements() const { return m_elements; }
    void AddElement(SolidElement* elem) { m_elements.push_back(elem); }
    int NumElements() const { return static_cast<int>(m_elements.size()); }

    const std::vector<SolidElementFace*>& Faces() const { return m_faces; }
    // Centroid of face i (3 doubles).
    const double* Centroid(int i) const { return m_centroids[static_cast<size_t>(i)].data(); }
    void AddFace(SolidElementFace* face, const double* centroid);

    // True once the mid-surface points are set.
    bool HasMidsurface() const { return !m_points.empty(); }
    const std::vector<Midpoint*>& Points() const { return m_points; }
    void SetPoints(std::vector<Midpoint*> points) { m_points = std::move(points); }

    // Index of the brick that holds the mid-surface (0 until set).
    int GetMidElement() const { return m_midElement; }
    void SetMidElement(int index) { m_midElement = index; }
    // Index of the start face within the first brick (always 0).
    int GetStartFace() const { return 0; }
    SolidCSys* GetCSys() const { return m_csys; }
    void SetCSys(SolidCSys* csys) { m_csys = csys; }

    // The plane through mid-surface points 0, 3, 1: unit normal n (written)
    // and offset d.
    void GetMidPlane(double* n, double& d) const;
    // The normalised (M2 - M0) x (M3 - M1) of mid-surface points M0 .. M3:
    // from the picked side into the solid.
    void GetMidNormal(double* n) const;
    // The mean of the mid-surface points (written).
    void GetMidpoint(double* out) const;

  private:
    int m_faceNodeCount;
    std::vector<SolidElement*> m_elements;
    std::vector<SolidElementFace*> m_faces;
    std::vector<std::array<double, 3>> m_centroids;
    std::vector<Midpoint*> m_points;
    int m_midElement = 0;
    SolidCSys* m_csys = nullptr;
};

}  // namespace SolidElements

#endif  // PLYSTRAND_LAYUPLIB_SOLIDSTACKINGTUBE_H

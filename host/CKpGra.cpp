#include "host/CKpGra.h"

#include "layuplib/CKpPoint.h"

int CKpGra::select_segment(int segment) {
    m_segment = segment;
    return 0;
}

int CKpGra::delete_segment(int segment) {
    if (m_gui) m_gui->GraDeleteSegment(segment);
    m_segment = 0;
    return 0;
}

int CKpGra::select_pen(int colour, double width) {
    m_colour = colour;
    m_width = static_cast<float>(width);
    return 0;
}

int CKpGra::MoveTo3d(const CKpPoint* point) {
    if (!point) return -1;
    point->fvals(m_point);
    return 0;
}

int CKpGra::LineTo3d(const CKpPoint* point) {
    if (!point) return -1;
    float end[3];
    point->fvals(end);
    // Host drawing results are not checked: the pen moves either way.
    if (m_gui) m_gui->GraDrawLine(m_segment, 0, m_colour, m_width, m_point, end);
    m_point[0] = end[0];
    m_point[1] = end[1];
    m_point[2] = end[2];
    return 0;
}

int CKpGra::SetPixel3d(const CKpPoint* point) {
    if (!point) return -1;
    float at[3];
    point->fvals(at);
    if (m_gui) m_gui->GraDrawMarker(m_segment, 0, m_colour, m_width, at, 1, 5);
    return 0;
}

int CKpGra::GraSetColor(int colour) {
    return m_gui ? m_gui->GraSetColor(colour) : -1;
}

int CKpGra::GraDrawPolygon(int segment, int id, int colour, float width, int count, float* points) {
    return m_gui ? m_gui->GraDrawPolygon(segment, id, colour, width, count, points) : -1;
}

int CKpGra::GraDrawLine(int segment, int id, int colour, float width, float* start, float* end) {
    return m_gui ? m_gui->GraDrawLine(segment, id, colour, width, start, end) : -1;
}

int CKpGra::GraDrawMarker(int segment, int id, int colour, float width, float* point,
                          int markerSize, int markerType) {
    return m_gui ? m_gui->GraDrawMarker(segment, id, colour, width, point, markerSize, markerType)
                 : -1;
}

int CKpGra::GraDrawResultArrow(int segment, int id, int colour, float width, float* base,
                               float* vector, float scale, int style, const char* label) {
    return m_gui ? m_gui->GraDrawResultArrow(segment, id, colour, width, base, vector, scale, style,
                                             label)
                 : -1;
}

#ifndef PLYSTRAND_HOST_CKPGRA_H
#define PLYSTRAND_HOST_CKPGRA_H

#include "host/CKpGUI.h"

class CKpPoint;

// CKpGra: the model's graphics context. It keeps the current graphics
// segment, pen (colour and width) and current point, and turns the plot
// routines' pen moves, given in double precision, into CKpGUI drawing calls
// in single precision (each coordinate rounded to float).
//
// Pen drawing: select_segment, select_pen, then MoveTo3d to the first point
// of a polyline and one LineTo3d per further point (consecutive lines join),
// or SetPixel3d for single markers. The segment and pen persist between
// calls, so a plot routine selects its own before drawing.
//
// The GUI adapter is held, not owned. Without one (never set, or set to
// null) the state still changes as described, nothing is drawn, and the
// forwarding operations return -1.
class CKpGra {
  public:
    // Segment 0, colour 0, width 0, current point (0, 0, 0), no GUI.
    CKpGra() = default;

    // Sets the GUI adapter the context draws through (not owned).
    void SetGUI(CKpGUI* gui) { m_gui = gui; }
    CKpGUI* GetGUI() const { return m_gui; }

    // Makes `segment` the current graphics segment. 0.
    int select_segment(int segment);
    // Deletes the graphics segment in the host (GraDeleteSegment), then makes
    // segment 0 current. 0.
    int delete_segment(int segment);
    // Sets the pen colour (a colour number) and width (kept as float). 0.
    int select_pen(int colour, double width);

    // Makes `point` the current point; draws nothing. 0; -1 for a null point
    // (nothing changes).
    int MoveTo3d(const CKpPoint* point);
    // Draws a line (id 0) in the current segment with the pen from the
    // current point to `point`, then makes `point` current. 0; -1 for a null
    // point (nothing drawn, nothing changes).
    int LineTo3d(const CKpPoint* point);
    // Draws a pixel at `point`: a marker (id 0) in the current segment with
    // the pen, marker ints 1 and 5. The current point is not moved. 0; -1 for
    // a null point (nothing drawn).
    int SetPixel3d(const CKpPoint* point);

    // Direct forwarders: every argument goes to the GUI unchanged (the
    // segment included; the current segment and pen are neither used nor
    // changed). Result: the GUI's, or -1 without a GUI.
    int GraSetColor(int colour);
    int GraDrawPolygon(int segment, int id, int colour, float width, int count, float* points);
    int GraDrawLine(int segment, int id, int colour, float width, float* start, float* end);
    int GraDrawMarker(int segment, int id, int colour, float width, float* point, int markerSize,
                      int markerType);
    int GraDrawResultArrow(int segment, int id, int colour, float width, float* base, float* vector,
                           float scale, int style, const char* label);

  private:
    int m_segment = 0;
    int m_colour = 0;
    float m_width = 0.0f;
    float m_point[3] = {0.0f, 0.0f, 0.0f};
    CKpGUI* m_gui = nullptr;
};

#endif  // PLYSTRAND_HOST_CKPGRA_H

#ifndef PLYSTRAND_LAYUPLIB_CKPVFP_H
#define PLYSTRAND_LAYUPLIB_CKPVFP_H

class CKpLayup;

// CKpVFP: writer of the VFP file, the mould surface and the draped grid of
// the model's last drape simulation for a downstream manufacturing tool.
// The file holds a mesh section ("*MESH": the faceted surface as ASCII STL,
// "solid <name>" ... "endsolid <name>"; every facet of an element carries
// the element's unit normal; reals "%f") and a ply section ("*PLY": one line
// "i j x y z 0 order" ("%d %d %g %g %g %d %d") per grid point, i fastest
// within each j, order the point's entry order into the grid). Comment lines
// start with "**". The "endsolid" line ends in CR LF, every other line in
// LF, as the receiving tool expects.
class CKpVFP {
  public:
    // Writes the file at `path` for `model` (null: nothing written, -1);
    // the element store and the faceted surface are built first when
    // absent. `name` is written unchanged (null as ""); the last argument is
    // not used. 0; -1 after "Could not open file '%s' for writing." or
    // "Could not close file" (the file as written stays).
    int Write(CKpLayup* model, const char* path, const char* name, int);
};

#endif  // PLYSTRAND_LAYUPLIB_CKPVFP_H

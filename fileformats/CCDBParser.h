#ifndef PLYSTRAND_FILEFORMATS_CCDBPARSER_H
#define PLYSTRAND_FILEFORMATS_CCDBPARSER_H

#include "layuplib/CKpDBF.h"

class CDBCommand;

// CCDBParser: the ANSYS CDB member of the file-exchange family (format code
// 7). Before Read or Write the caller sets the store pointers (SetStores),
// the file name and the flags of the CKpDBF base; messages go to its log.
//
// Two layered shell families are exchanged: SHELL181 (type number 181;
// quad4 and tria3; layers from shell sections named by the element's
// property id) and SHELL99 (type number 99; quad8 and tria6; layers from
// real constant sets, node location on the shell by KEYOPT(11): 0 mid-
// surface, 1 bottom, 2 top). Every other element type is skipped on reading.
class CCDBParser : public CKpDBF {
  public:
    CCDBParser();
    ~CCDBParser() override;

    // Reads the file `name` into the stores: element types with KEYOPTs
    // (181 and 99 only), nodes, SHELL181/SHELL99 elements with their ANSYS
    // data, materials ("MAT.<n>", elastic, thermal and strength values),
    // laminates from shell sections ("Sec.<id>") and from real constant sets
    // ("RC(<keyopt11>).<set>", ids from the largest laminate id rounded up to
    // a multiple of 1000), orientations from element coordinate systems
    // ("Coord.<id>", frames copied from LOCAL commands) or "Default(ANSYS)".
    // A node or element whose id the store already holds is not added again
    // (the first stays; one warning per block gives the count).
    //
    // Returns 0 on success; -1 when the file cannot be opened ("Unable to
    // open file"), when the command parser stops on an error ("Last error:
    // ..." after "Parsing Completed"; what was read stays, no post-
    // processing), or when rows or commands had to be dropped (cut rows, NUL
    // bytes, integer fields out of the int range or not finite, node rows
    // with coordinates that are not finite): each is reported as an error
    // naming its line, the rest of the file and the post-processing are
    // still done. A last line without its line end reads as it would with
    // one, unless it is cut: a block row cut inside a field, or a command
    // line short of the arguments its command takes or ending inside a
    // number ("CDB file '%s' ends early inside line %d; ..."). Memory
    // exhaustion, or no orientation id left above the highest (those
    // elements stay without orientation): "Could not allocate memory.", -1;
    // a store that cannot take a new object: the error "Could not store
    // <what> <id>." and -1 (the rest of that command is not read).
    int Read() override;

    // Writes the model as a CDB input file. Model part flags: 1 mesh (NBLOCK,
    // EBLOCK), 2 materials (MPDATA, FC), 4 properties (element types, real
    // constant sets, sections), 8 element modification only (EMODIF lines,
    // no title and no FINISH). Element types and the ANSYS data of elements
    // are added to the model as they are assigned. With the mesh, every
    // frame an element names as its element coordinate system is written as
    // LOCAL commands (origin, then the angles of its axes) so that the file
    // defines what its elements refer to. Returns 0; -1 on an unsupported
    // geometry type, when a store cannot take a new element type or record
    // ("Could not store <what> <id>."; "Could not allocate memory." when the
    // element types leave no id above the highest), when element
    // modification would need new element types, when a number does not fit
    // its 8-column integer field (checked before the file is opened; the
    // message names it), when the file cannot be opened, or when a write or
    // the close fails ("Could not write file '<name>'.").
    int Write() override;

  private:
    struct ReadState;
    void HandleCommand(ReadState& st, CDBCommand& cmd);
    void ReadPost(ReadState& st);
};

#endif  // PLYSTRAND_FILEFORMATS_CCDBPARSER_H

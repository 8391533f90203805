#ifndef PLYSTRAND_FILEFORMATS_READ_KORBDF_H
#define PLYSTRAND_FILEFORMATS_READ_KORBDF_H

class CKpLayup;

// Entry points of the bulk data exchange used by the model's read and
// write dispatch.

// Reads the bulk data file `path` into `model` (CBDFParser::Parse): 0, or
// 1 after an error message.
int read_korbdf(char* path, CKpLayup* model);
// Writes `model` to `path` (CBDFParser::WriteBDF); usePcompg nonzero
// allows PCOMPG cards. 0, or 1 after an error message.
int write_korbdf(char* path, CKpLayup* model, int usePcompg);

// Before a read: empties the model (CKpLayup::reinit). 0 with the
// information "Reinitialisation completed"; -1 with the error "Could not
// reinitialise data arrays".
int KorReadPre(CKpLayup* model);
// After a read: converts grid points given in frames to basic coordinates,
// links the elements' node ids to nodes (elements with missing nodes are
// deleted with warnings), sets the directions of frame orientations and
// every element's material angle, and builds the facets ("Facets created",
// or "Could not generate facets"). 0; -1 when the linking fails.
int KorReadPost(CKpLayup* model);

#endif  // PLYSTRAND_FILEFORMATS_READ_KORBDF_H

#ifndef PLYSTRAND_FILEFORMATS_CSTLPARSER_H
#define PLYSTRAND_FILEFORMATS_CSTLPARSER_H

#include <cstdint>

#include "F06Parser/CF06FileBuffer.h"
#include "layuplib/CKpDBF.h"

class CKpNode;
class CKpOrient;

// CSTLParser: the STL member of the file-exchange family (format code 1).
// Reading takes an ASCII or binary STL surface into the model as tria3
// shell elements, three new nodes per facet (coincident nodes are merged by
// the caller); writing puts the model's faceted surface out as STL, ASCII
// (type 1) or binary (type 2). Before Read or Write the caller sets the
// store pointers (SetStores), the file name, the flags and, for writing, the
// type. All file access goes through one CF06FileBuffer with a 4096-byte
// window.
//
// Ids: a read numbers its nodes and elements on from the highest id of each
// store (from 1 in an empty model), so reading into a populated model never
// reuses an id. Every element gets element type 1 (shell), angle 0 and the
// orientation "Default" (created with the highest orientation id + 1, type
// 0, when missing).
class CSTLParser : public CKpDBF {
  public:
    // The x, y, z of the facet's three vertices, in order.
    struct CSTLFacet {
        float v[9];
    };
    // 0 read, any other value write.
    enum EOpenType { eRead = 0, eWrite = 1 };

    CSTLParser();
    // Destroys the buffer (waiting bytes are written, the file closed).
    ~CSTLParser() override;

    // Reads the file `name`; the form comes from its first bytes
    // (GetFileType; message "STL file is ASCII\n" or "STL file is
    // Binary\n"). Returns 0; -1 with one error naming the file when it
    // does not exist, is a directory or empty, or cannot be opened (nothing
    // read); when it is no STL file at all ("... is not an STL file: ...",
    // nothing added): shorter than the binary header, a binary facet count
    // that disagrees with the file size while the first facet holds no
    // plausible coordinates, or no facet at all; when a node or element id
    // would pass the int range; or after an error naming what was lost (the
    // facets before it stay in the model):
    //   binary: a facet count larger than the data ("...declares %lld
    //     facets but holds only %lld: it ends early at byte %lld."), a facet
    //     with a coordinate that is not finite;
    //   ASCII: a facet without three vertex lines, a vertex line without
    //     three numbers, a line holding a NUL byte, a file that ends inside
    //     a facet (each names the facet and line).
    // Of each kind of per-facet or per-line error the first five are given,
    // then one line with the count of the rest.
    // 1 when an ASCII file has no "solid".
    int Read() override;

    // Writes the faceted surface (elements in ascending id, each element's
    // facets in order, every facet with its element's unit normal) as ASCII
    // (type 1) or binary (any other type). 0; -1 when the file cannot be
    // opened or a write or the close fails ("Could not write file '%s'.").
    int Write() override;

    // 1 (ASCII) when the first window's bytes (at most 1023), lower-cased,
    // contain all of "solid", "facet normal", "outer loop" and "vertex";
    // otherwise 2 (binary), also for an empty file.
    EDbfType GetFileType();

    // Adds one triangle: three nodes (NewNode) into the node store, a tria3
    // element with the next element id into the element store. false (and
    // nothing added, an error given) when an id would pass the int range;
    // std::bad_alloc when memory runs out (Read turns it into its failure).
    bool AddFacet(const CSTLFacet& facet);

    // A node with the next node id (the counter is raised), frame 0, at
    // (x, y, z), marked placed; not inserted. Null when memory runs out.
    CKpNode* NewNode(float x, float y, float z);

    // Window of 4096 bytes (second value 512), then opens `name` in binary
    // mode for reading (eRead) or writing. The CF06File::Open result.
    int Open(const char* path, EOpenType type);

    CF06FileBuffer* GetBuffer() { return &m_buffer; }
    // Size in bytes of the file being read (0 outside Read).
    std::int64_t FileSize() const { return m_fileSize; }

  private:
    CF06FileBuffer m_buffer;
    std::int64_t m_fileSize = 0;
    int m_nextElemId;
    int m_nextNodeId;
    CKpOrient* m_default;  // the "Default" orientation, found on first use
};

#endif  // PLYSTRAND_FILEFORMATS_CSTLPARSER_H

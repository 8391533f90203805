#ifndef PLYSTRAND_FILEFORMATS_CSTLASCII_H
#define PLYSTRAND_FILEFORMATS_CSTLASCII_H

class CSTLParser;

// CSTLAscii: the ASCII form of STL for its parser:
//   solid <name>
//     facet normal nx ny nz
//       outer loop
//         vertex x y z       (three times)
//       endloop
//     endfacet
//   endsolid <name>
// Keywords are recognised without regard to case; the normals are not read.
class CSTLAscii {
  public:
    explicit CSTLAscii(CSTLParser* parser) : m_parser(parser) {}
    virtual ~CSTLAscii();

    // Reads the facets after "solid" line by line. A facet is added when its
    // "endfacet" (or the next "facet", "endsolid") follows three vertex
    // lines of three numbers each. 0; 1 without "solid"; -1 after errors
    // (each names the facet and line; that facet is dropped, reading goes
    // on): a facet with other than three vertex lines, a vertex line without
    // three finite numbers, a line holding a NUL byte, a file that ends
    // inside a facet, a line that is no STL line (a keyword cut short), a
    // file without "endsolid" after its last facet (cut between facets), or
    // a facet the model could not take.
    int Parse();

    // "solid TEST\n"; per facet "facet normal %f %f %f\n", "outer loop\n",
    // three "vertex %f %f %f\n", "endloop\n", "endfacet\n"; "endsolid
    // TEST\r\n". 0; -1 when a write fails.
    int Write();

  private:
    CSTLParser* m_parser;
};

#endif  // PLYSTRAND_FILEFORMATS_CSTLASCII_H

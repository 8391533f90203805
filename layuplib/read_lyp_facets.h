#ifndef PLYSTRAND_LAYUPLIB_READ_LYP_FACETS_H
#define PLYSTRAND_LAYUPLIB_READ_LYP_FACETS_H

// The facet rebuild after a layup file is read, begun while the file's last
// records are still read where that cannot change what it makes.

#include <future>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class CKpLayup;

// LypFacets: the facet rebuild that follows read_lyp in CKpLayup::OpenLayup.
// read_lyp (the overload below) may begin it on a thread of its own once the
// nodes and elements are read (at the first pattern record), when
//   - for a plain file, its remaining lines hold no node or element record
//     (no line begins with "10" or "20"); a gzip stream is not looked ahead
//     in (that would mean inflating it twice),
//   - every element passes the shape check and has all its nodes (the links
//     the reading makes afterwards are then made there, the same ones),
//   - no shell is quadratic (no centre node is added to the node store),
//   - node and element ids are dense (the stores' lookups then read only),
//   - what the rebuild writes into the nodes and elements (directions,
//     offset ranges, facet lists, direction flags, selection) still holds
//     the values of a node or element just read, so that Drop can put them
//     back exactly;
// the facets are then made while the rest of the file is read, with the
// same calls on the same nodes and elements as after the reading. Their
// messages are held and issued by Create, where the rebuild stands in the
// message log otherwise. A node or element record read after all (a file
// not written in the usual order, or any gzip stream) or a failed read
// waits for the rebuild and drops it: the model is then as if it had never
// been begun, and Create rebuilds after the reading.
// Otherwise nothing is begun and Create rebuilds the facets itself.
class LypFacets {
  public:
    // The first two bytes of every line that may hold a node or element
    // record (101-102, 201-209; the scan looks for any line beginning "10"
    // or "20"), as lyp_file_may_begin takes them.
    static constexpr const char* kMeshCodes = "1020";

    LypFacets();
    // Waits for a rebuild still running.
    ~LypFacets();
    LypFacets(const LypFacets&) = delete;
    LypFacets& operator=(const LypFacets&) = delete;

    // The facet rebuild of `model` (CKpFacetStore::CreateFacets, with its
    // result): the one begun while reading, its held messages issued now in
    // the order made, or else a rebuild made now. `model` is the one read.
    int Create(CKpLayup* model);

  private:
    friend int read_lyp(CKpLayup* model, int compressed, LypFacets* facets);

    // Begins the rebuild on a thread when the conditions above hold: the
    // rest of the plain file `path` from `offset` (`carry` as
    // lyp_file_may_begin there; `path` empty: not looked at) and the nodes
    // are checked on that thread while the node links are made here; it
    // builds once all allow. Returns whether the links are made (the shape
    // check and node links after the reading are then left out).
    bool Begin(CKpLayup* model, const std::string& path, long long offset, int carry);
    // Waits for the thread.
    void Wait();
    // After Wait: forgets a rebuild made on the thread and takes back all
    // it wrote into `model` (the model it was begun on): its facets, node
    // directions and offset ranges, element facet lists and direction
    // flags. Create then rebuilds.
    void Drop(CKpLayup* model);

    // Thread body: checks the rest of the file and the nodes, waits for
    // `linked`, then makes the facets with the messages held.
    void Run(CKpLayup* model, std::string path, long long offset, int carry,
             std::future<bool> linked);

    std::thread m_thread;
    bool m_touched; // the thread began to build (valid after Wait)
    bool m_made;    // facets made on the thread (valid after Wait)
    int m_result;   // their result as CreateFacets gives it
    std::vector<std::pair<int, std::string>> m_messages;  // severity, text, in order
};

// read_lyp (layuplib/read_lyp.h) that may begin the facet rebuild of
// `facets` (see LypFacets) while it reads; `facets` null: read_lyp itself.
// The same model, messages and result as read_lyp.
int read_lyp(CKpLayup* model, int compressed, LypFacets* facets);

#endif  // PLYSTRAND_LAYUPLIB_READ_LYP_FACETS_H

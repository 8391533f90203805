#ifndef PLYSTRAND_LAYUPLIB_CKPLYPOUT_H
#define PLYSTRAND_LAYUPLIB_CKPLYPOUT_H

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

struct gzFile_s;  // zlib's gzip stream (gzFile)

// CKpLypOut: the output stream of a layup file: either a plain file (stdio,
// mode "wb") or a gzip stream (zlib's gzip file interface, mode "wb<level>").
// It owns what it opens and closes it at the latest when it is destroyed.
//
// Every write is checked. A failed write (a full disk, an I/O error) raises
// the failure mark, which stays raised until the next Open; writes after a
// failure are skipped, so that a writer may check once at the end: Failed
// for the writes, the result of Close for the close.
//
// Callers format lines into a buffer of the stream that grows to fit the
// longest line (no line is ever cut), then write them with one call.
//
// A gzip stream compresses on a thread of its own: writes gather the text in
// blocks, which that thread hands to gzwrite in order, so that formatting
// and compressing overlap. The compressed bytes are those of the same text
// written straight through gzwrite. A failure of the compressing thread
// shows in Failed (and in the result of later writes) once it has happened;
// Close waits for every block.
class CKpLypOut {
  public:
    // Nothing open, failure mark down.
    CKpLypOut();
    // Closes a stream that is still open (the result is lost: call Close to
    // learn it).
    ~CKpLypOut();

    CKpLypOut(const CKpLypOut&) = delete;
    CKpLypOut& operator=(const CKpLypOut&) = delete;

    // Opens `path` (null counts as "") for writing, replacing an existing
    // file: `compress` 0 a plain file, 1..9 a gzip stream of that level. A
    // stream still open is closed first (its result lost). Returns 0; -1
    // when the file cannot be opened or `compress` lies outside 0..9
    // (nothing is open then).
    int Open(const char* path, int compress);

    // 1 while a stream is open, else 0.
    int IsOpen() const;

    // Writes the `length` bytes at `text` as they are: to the gzip stream
    // when `compress` is non-zero, else through fwrite. Returns 0; -1 when
    // nothing of that kind is open, when `text` is null with a non-zero
    // length, when the failure mark is already up or when the write fails
    // (the mark is raised in the last three cases and when the kind does not
    // match). A gzip write that fails later, on the compressing thread,
    // raises the mark then.
    int Write(const char* text, size_t length, int compress);

    // A buffer of at least `size` bytes that stays the stream's, for callers
    // that format a block themselves; valid until the next Buffer.
    // Null (failure mark raised) when it cannot grow.
    char* Buffer(size_t size);

    // 1 once a write failed (or a buffer could not grow) since the last
    // Open, else 0.
    int Failed() const { return m_failed.load(std::memory_order_relaxed) ? 1 : 0; }
    // Raises the failure mark, for a writer that cannot produce a record
    // (memory): the file is then incomplete.
    void SetFailed() { m_failed = true; }

    // Closes the stream (fclose, or gzclose once every block is compressed).
    // Returns 0; -1 when the close fails; 0 also when nothing is open. The
    // failure mark is raised by a block that could not be compressed, not
    // by the close: check Failed as well.
    int Close();

  private:
    // The compressing thread: gzwrite of every queued block, in order.
    void Compress();
    // Queues the gathered block for the compressing thread; false when no
    // block can be had (memory; the mark is raised).
    bool Hand();

    FILE* m_file;    // plain stream, owned; null when none
    gzFile_s* m_gz;  // gzip stream, owned; null when none
    std::atomic<bool> m_failed;
    std::vector<char> m_buffer;      // line formatting
    std::vector<char> m_fileBuffer;  // stdio buffer of the plain stream

    // Gzip stream: the block being gathered, the blocks waiting for the
    // compressing thread, and the blocks it has finished with.
    std::vector<char> m_block;
    std::deque<std::vector<char>> m_queue;
    std::vector<std::vector<char>> m_spare;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_closing;
    std::thread m_compressor;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPLYPOUT_H

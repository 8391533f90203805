#ifndef PLYSTRAND_LAYUPLIB_READ_LYPGROUP_H
#define PLYSTRAND_LAYUPLIB_READ_LYPGROUP_H

// The line source of the layup file reader: a layup file, plain text or a
// gzip stream, handed out one line at a time.

#include <condition_variable>
#include <cstddef>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct gzFile_s;

// Longest line accepted, line feed excluded. The format's own lines are far
// shorter; the cap only keeps a damaged file without line feeds from
// filling the memory.
constexpr size_t LYP_MAX_LINE = 1u << 20;

// LypGroup: one line of a layup file.
struct LypGroup {
    // Record code: the first three characters of the line read as a decimal
    // number (leading blanks and a sign allowed, as "%d" reads them); 0 when
    // they do not start with a number (banners "**", blank lines).
    int code = 0;
    // The whole line, code included, without its line feed. A carriage
    // return before the line feed stays (the field reader treats it as a
    // blank).
    std::string text;
    // Number of the line in the file, from 1.
    long line = 0;
};

// Bytes that can be read past the end of a line handed out by
// read_lypline: the field reader loads whole vectors from a token's start.
constexpr size_t LYP_LINE_PAD = 64;

// LypLine: one line of a layup file as read_lypline hands it out, without a
// copy: the text lies in the stream's buffer and stays valid until the next
// read from the stream.
struct LypLine {
    // Record code, as LypGroup::code.
    int code = 0;
    // The line without its line feed: `size` bytes from `text`. For a line
    // handed out, the LYP_LINE_PAD bytes after them can be read too; the
    // first of them is the line feed or a 0, so it never continues a number.
    const char* text = "";
    size_t size = 0;
    // Number of the line in the file, from 1.
    long line = 0;
};

// LypStream: an open layup file with its read buffer. Plain files are read
// with fread, gzip streams with gzread, in blocks; lines may have any length
// up to LYP_MAX_LINE. A gzip stream inflates on a thread of its own up to
// 32 blocks (2 MiB) ahead of the lines handed out (straight through gzread when no
// thread can be started); its failures are reported at the block where they
// occur, as without the thread. Each stream has its own buffers, so several
// files can be read at the same time. Closes the file when destroyed.
class LypStream {
  public:
    LypStream();
    ~LypStream();
    LypStream(const LypStream&) = delete;
    LypStream& operator=(const LypStream&) = delete;

    // Opens `path` for reading: with gzopen mode "rb" when `compressed` is
    // non-zero (zlib then reads a file that is not gzip-compressed as it
    // is), else with fopen mode "rb". A stream already open is closed
    // first. 0; -1 when the file cannot be opened (also for a null path, or
    // when the read buffer cannot be allocated).
    int Open(const char* path, int compressed);

    // Closes the file. 0 (also when nothing is open); otherwise the
    // non-zero result of fclose or gzclose (gzclose reports a gzip stream
    // that ended early or was corrupt).
    int Close();

    bool IsOpen() const { return m_file != nullptr || m_gz != nullptr; }
    // Non-zero when the stream is a gzip stream.
    int Compressed() const { return m_gz != nullptr; }
    // Why the last read failed; "" when no read failed.
    const char* Error() const { return m_error.c_str(); }

    // Whether a line after those handed out so far may begin with one of
    // the two-byte `pairs` ("1020": "10" or "20"), as far as the stream's
    // buffer tells: true when one of the lines still in the buffer does, and
    // for a stream that is not a plain file or that failed. Otherwise false,
    // with the rest of the plain file for lyp_file_may_begin: its path, the
    // offset where the buffer ends and how the buffer ended there (`carry`).
    bool BufferMayBegin(const char* pairs, std::string* path, long long* offset,
                        int* carry) const;

  private:
    friend int read_lypline(LypStream& stream, LypLine& line);
    friend int read_lypgroup(LypStream& stream, LypGroup& group);

    // Reads the next block into the buffer: the number of bytes read, 0 at
    // the end of the input, -1 on a read error (m_error says why).
    long Fill();
    // gzread of the next block into `block`: as Fill; `error` says why on -1.
    long GzRead(std::vector<char>& block, std::string& error);
    // The inflating thread: GzRead of every block, in order, into m_ready
    // until the end of the input, a failure or a stop.
    void Inflate();
    // Stops and joins the inflating thread and drops its blocks.
    void StopInflate();

    // An inflated block waiting for the reader: GzRead's result and bytes.
    struct Inflated {
        std::vector<char> bytes;
        long count = 0;
        std::string error;
    };

    FILE* m_file;
    std::string m_path;  // of a plain file
    gzFile_s* m_gz;
    std::vector<char> m_block;
    size_t m_pos;   // first byte not yet consumed
    size_t m_end;   // end of the bytes in the buffer
    long m_line;    // lines handed out so far
    bool m_failed;  // a read failed; every further read fails
    std::string m_error;
    // A line that runs over the end of a block, copied together (with
    // LYP_LINE_PAD zero bytes after it).
    std::string m_carry;

    // The inflating thread and what it shares with the reader (under
    // m_mutex): blocks inflated in file order, buffers handed back.
    std::thread m_inflater;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Inflated> m_ready;
    std::vector<std::vector<char>> m_spare;
    bool m_stop;      // the reader closes: the thread ends
    bool m_lost;      // the thread failed to hand on a block
    bool m_gzEnded;   // the last block (end or failure) was taken
    long m_gzLast;    // its count, returned by every later Fill
};

// Reads the next line of `stream` into `group` (code, text without its line
// feed, line number). A last line without a line feed is read like any
// other. Returns 1 with a line; 0 at the end of the input (`group` then
// holds code 0 and an empty text); -1 on a read error, with code 0 and an
// empty text: an I/O error, a gzip stream that is corrupt or ends early, a
// line longer than LYP_MAX_LINE, or a stream that is not open
// (`stream.Error()` says which; `group.line` is the number of the line that
// could not be read).
int read_lypgroup(LypStream& stream, LypGroup& group);

// How a text before a place ended, for a scan of the lines after it:
// in the middle of a line; a line begins at the place; or (0..255) a line
// began with that byte just before it.
constexpr int LYP_SCAN_NONE = -1;
constexpr int LYP_SCAN_LINE = 256;

// Whether a line of the file `path` from byte `offset` on may begin with one
// of the two-byte `pairs` (as LypStream::BufferMayBegin); `carry` tells how
// the text before `offset` ended (LYP_SCAN_LINE from the file's start). True
// also when the file cannot be opened or read. Reads the file through a
// handle of its own.
bool lyp_file_may_begin(const char* path, long long offset, int carry, const char* pairs);

// read_lypgroup without the copy: the next line of `stream` as a view into
// its buffer (see LypLine), with the same results, line numbers and
// failures. On 0 and -1 `line` holds code 0 and an empty text.
int read_lypline(LypStream& stream, LypLine& line);

#endif  // PLYSTRAND_LAYUPLIB_READ_LYPGROUP_H

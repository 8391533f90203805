#include "op2reader/op2_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <utility>
#include <vector>

#include "op2reader/op2_guard.h"

static_assert(sizeof(off_t) == 8, "file positions must be 64-bit");

namespace {

constexpr int kSlots = 10;
constexpr int kSwapLimit = 0x1000000;
// One read() or write() per this many bytes at most; entries are a few
// words each, so without it every entry would cost a system call.
constexpr size_t kBufferBytes = 1 << 16;

// One open file. The first fields are the file table's; the rest is the
// buffered I/O beneath it.
struct Slot {
    int descriptor = 0;      // 0: slot free
    int access = 0;          // 1 read, 2 write
    int physReads = 0;       // physical read requests so far
    int physLength = 0;      // read: bytes of the current record; write: bytes written into it
    int physLeft = 0;        // read: words left in the current physical record
    int matrixType = 0;      // trailer word 4 of the open datablock
    int recordNumber = 0;    // last logical record written (its negative is the marker)
    int pieceLeft = -1;      // words left in the current piece; -1 at a record boundary
    int recordOpen = 0;      // write: a logical record was started and not ended
    int datablockEnded = 0;  // read: the end of the open datablock has been read
    int rows = 0;            // trailer word 2 of the open datablock
    unsigned char* column = nullptr;  // one matrix column, allocated on first use
    size_t columnBytes = 0;
    int swapped = 0;
    char version[13] = {0};

    bool physOpen = false;  // read: a physical record is current; write: one is open
    int physWords = 0;      // read: words of the physical record started last
    off_t physStart = 0;    // write: file offset of the open record's leading length
    std::vector<unsigned char> buf;
    size_t bufPos = 0, bufLen = 0;  // read window
    off_t bufStart = 0;             // file offset of buf[0]
    off_t fileSize = 0;             // read: size at open
    off_t flushed = 0;              // write: bytes already handed to write()
};

FILE* g_err = nullptr;
Slot g_slots[kSlots];

void say(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void say(const char* fmt, ...) {
    if (!g_err) return;
    va_list ap;
    va_start(ap, fmt);
    std::vfprintf(g_err, fmt, ap);
    va_end(ap);
    std::fflush(g_err);
}

// A failed system call: the fixed prefix, then the system's error text.
void sayErrno(const char* prefix) {
    if (g_err) std::fprintf(g_err, "%s: %s\n", prefix, std::strerror(errno));
}

int swap4(int w) {
    uint32_t u;
    std::memcpy(&u, &w, 4);
    u = (u >> 24) | ((u >> 8) & 0xff00u) | ((u << 8) & 0xff0000u) | (u << 24);
    int r;
    std::memcpy(&r, &u, 4);
    return r;
}

// ---- buffered I/O ----------------------------------------------------------

off_t readPosition(const Slot& s) {
    return s.bufStart + static_cast<off_t>(s.bufPos);
}

// Reads up to n bytes; returns the bytes read (short only at the end of the
// file) or -1 when read() fails.
long rawRead(Slot& s, void* dst, size_t n) {
    unsigned char* out = static_cast<unsigned char*>(dst);
    size_t done = 0;
    while (done < n) {
        if (s.bufPos == s.bufLen) {
            s.bufStart += static_cast<off_t>(s.bufLen);
            s.bufPos = s.bufLen = 0;
            size_t want = n - done;
            if (want >= kBufferBytes) {
                // Large reads go straight to the caller.
                ssize_t r;
                do r = ::read(s.descriptor, out + done, want);
                while (r < 0 && errno == EINTR);
                if (r < 0) return -1;
                if (r == 0) break;
                done += static_cast<size_t>(r);
                s.bufStart += r;
                continue;
            }
            ssize_t r;
            do r = ::read(s.descriptor, s.buf.data(), kBufferBytes);
            while (r < 0 && errno == EINTR);
            if (r < 0) return -1;
            if (r == 0) break;
            s.bufLen = static_cast<size_t>(r);
        }
        size_t k = s.bufLen - s.bufPos;
        if (k > n - done) k = n - done;
        std::memcpy(out + done, s.buf.data() + s.bufPos, k);
        s.bufPos += k;
        done += k;
    }
    return static_cast<long>(done);
}

// Moves the read position forward by n bytes. 0 or -1.
int rawSkip(Slot& s, off_t n) {
    if (static_cast<off_t>(s.bufLen - s.bufPos) >= n) {
        s.bufPos += static_cast<size_t>(n);
        return 0;
    }
    off_t target = readPosition(s) + n;
    if (::lseek(s.descriptor, target, SEEK_SET) < 0) return -1;
    s.bufStart = target;
    s.bufPos = s.bufLen = 0;
    return 0;
}

int flushWrites(Slot& s) {
    size_t done = 0;
    while (done < s.buf.size()) {
        ssize_t r = ::write(s.descriptor, s.buf.data() + done, s.buf.size() - done);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return -1;
        done += static_cast<size_t>(r);
    }
    s.flushed += static_cast<off_t>(done);
    s.buf.clear();
    return 0;
}

off_t writePosition(const Slot& s) {
    return s.flushed + static_cast<off_t>(s.buf.size());
}

int rawWrite(Slot& s, const void* src, size_t n) {
    const unsigned char* p = static_cast<const unsigned char*>(src);
    if (s.buf.size() + n >= kBufferBytes) {
        // The buffer never grows past its size at opening: what does not fit
        // goes to write() after what is buffered, straight from the caller.
        if (flushWrites(s) != 0) return -1;
        if (n >= kBufferBytes) {
            size_t done = 0;
            while (done < n) {
                ssize_t r = ::write(s.descriptor, p + done, n - done);
                if (r < 0 && errno == EINTR) continue;
                if (r <= 0) return -1;
                done += static_cast<size_t>(r);
            }
            s.flushed += static_cast<off_t>(done);
            return 0;
        }
    }
    s.buf.insert(s.buf.end(), p, p + n);
    return 0;
}

// Rewrites one word already written at file offset `at`.
int rawPatch(Slot& s, off_t at, int word) {
    if (at >= s.flushed) {
        std::memcpy(s.buf.data() + (at - s.flushed), &word, 4);
        return 0;
    }
    ssize_t r;
    do r = ::pwrite(s.descriptor, &word, 4, at);
    while (r < 0 && errno == EINTR);
    return r == 4 ? 0 : -1;
}

// ---- physical records ------------------------------------------------------

Slot* slotOf(int id) {
    return (id >= 1 && id <= kSlots) ? &g_slots[id - 1] : nullptr;
}

// Checks identifier, open state and access for the operations whose lines
// read "<name>: Bad File Identifier, %d" / "<name>: File not open, ...".
int checkSlot(int id, const char* badIdLine, const char* prefix, int access, Slot** out) {
    Slot* s = slotOf(id);
    if (!s) {
        say(badIdLine, id);
        return -10;
    }
    if (s->descriptor == 0) {
        say("%sFile not open, File Identifier = %d\n", prefix, id);
        return -11;
    }
    if (access && s->access != access) {
        say("%sFile not open for %s access, File Identifier = %d\n", prefix,
            access == 1 ? "read" : "write", id);
        return -12;
    }
    *out = s;
    return 0;
}

// Reads up to `wanted` words of the current physical record (starting one
// when none is current). With `skip`, the rest of the record is passed over.
// Returns the words read (>= 0) or a negative code; *atEnd is set when the
// file ended where a record would start.
int physRead(Slot& s, int skip, int wanted, void* buffer, bool* atEnd) {
    *atEnd = false;
    ++s.physReads;
    // Entries inside a record already in the window: one copy.
    if (s.physOpen && wanted > 0 && wanted < s.physLeft && !skip &&
        s.bufLen - s.bufPos >= static_cast<size_t>(wanted) * 4) {
        std::memcpy(buffer, s.buf.data() + s.bufPos, static_cast<size_t>(wanted) * 4);
        s.bufPos += static_cast<size_t>(wanted) * 4;
        s.physLeft -= wanted;
        return wanted;
    }
    if (!s.physOpen) {
        int len = 0;
        long r = rawRead(s, &len, 4);
        if (r < 0) {
            sayErrno("*E* ReadPhysRecord(1)");
            return -13;
        }
        if (r == 0) {
            *atEnd = true;
            return 0;
        }
        if (r < 4) return -14;
        if (s.physReads == 1 && len > kSwapLimit) s.swapped = 1;
        if (s.swapped) len = swap4(len);
        // A length the rest of the file cannot hold is a broken file, not an
        // allocation or a read past the end.
        if (len < 0 || len % 4 != 0 || readPosition(s) + len + 4 > s.fileSize) return -14;
        s.physLength = len;
        s.physLeft = len / 4;
        s.physWords = len / 4;
        s.physOpen = true;
    }
    int k = wanted < s.physLeft ? wanted : s.physLeft;
    if (k < 0) k = 0;
    if (k > 0) {
        long r = rawRead(s, buffer, static_cast<size_t>(k) * 4);
        if (r < 0) {
            sayErrno("*E* ReadPhysRecord(2)");
            say("    Buffer Address: %d\n", 0);
            return -13;
        }
        if (r < static_cast<long>(k) * 4) return -14;
        s.physLeft -= k;
    }
    if (skip && s.physLeft > 0) {
        if (rawSkip(s, static_cast<off_t>(s.physLeft) * 4) != 0) {
            sayErrno("*E* ReadPhysRecord(2)");
            return -13;
        }
        s.physLeft = 0;
    }
    if (s.physLeft == 0) {
        int tail = 0;
        long r = rawRead(s, &tail, 4);
        if (r < 0) {
            sayErrno("*E* ReadPhysRecord(3)");
            return -13;
        }
        if (r < 4) return -14;
        if (s.swapped) tail = swap4(tail);
        if (tail != s.physLength) return -14;
        s.physOpen = false;
        s.physLength = 0;
    }
    return k;
}

// One control word: a one-word record (its rest skipped), swapped as needed.
// 0, or -14 at the end of the file, or the read's code.
int readWord(Slot& s, int* word) {
    bool atEnd;
    int w = 0;
    int r = physRead(s, 1, 1, &w, &atEnd);
    if (r < 0) return r;
    if (r == 0) return -14;
    *word = s.swapped ? swap4(w) : w;
    return 0;
}

// A whole physical record that must hold exactly `words` words (the label's
// and the header's fixed records): a record of another length, such as the
// 8-byte words of a file written with 64-bit words, is -14.
int readExact(Slot& s, int words, void* buffer) {
    bool atEnd;
    int r = physRead(s, 1, words, buffer, &atEnd);
    if (r < 0) return r;
    if (r != words || s.physWords != words) return -14;
    return 0;
}

// One control word in a record of exactly one word, swapped as needed.
int readExactWord(Slot& s, int* word) {
    int w = 0;
    int r = readExact(s, 1, &w);
    if (r) return r;
    *word = s.swapped ? swap4(w) : w;
    return 0;
}

// Passes over what is left of the current physical record.
int skipPhysRest(Slot& s) {
    if (!s.physOpen) return 0;
    bool atEnd;
    int r = physRead(s, 1, 0, nullptr, &atEnd);
    return r < 0 ? r : 0;
}

int physWrite(Slot& s, int end, int count, const void* data) {
    int bytes = count * 4;
    bool ok = true;
    bool earlier = s.physOpen;
    if (!s.physOpen) {
        s.physStart = writePosition(s);
        ok = rawWrite(s, &bytes, 4) == 0;
        s.physOpen = true;
        s.physLength = 0;
    }
    if (ok && bytes > 0) ok = rawWrite(s, data, static_cast<size_t>(bytes)) == 0;
    s.physLength += bytes;
    if (ok && end) {
        int total = s.physLength;
        if (earlier) ok = rawPatch(s, s.physStart, total) == 0;
        if (ok) ok = rawWrite(s, &total, 4) == 0;
        s.physOpen = false;
        s.physLength = 0;
    }
    if (!ok) {
        sayErrno("*E* WritePhysRecord");
        return -15;
    }
    return 0;
}

int writeWord(Slot& s, int w) {
    return physWrite(s, 1, 1, &w);
}

// ---- logical records -------------------------------------------------------

int skipLogRecord(Slot& s, int* skipped, int* ended) {
    *skipped = 0;
    *ended = 0;
    int key, second, count;
    int r = readWord(s, &key);
    if (r) return r;
    if (key != 1) {
        say("\n*E* SkipLogRecord: Wrong Key (%d) Found\n", key);
        return -20;
    }
    if ((r = readWord(s, &second)) || (r = readWord(s, &count))) return r;
    if (count == 0) {
        *ended = 1;
        return 0;
    }
    long long total = 0;  // pieces of a damaged file may add up past int
    while (count > 0) {
        total += count;
        *skipped = total > INT_MAX ? INT_MAX : static_cast<int>(total);
        bool atEnd;
        int got = physRead(s, 1, 0, nullptr, &atEnd);
        if (got < 0) return got;
        if (atEnd) return -14;
        if ((r = readWord(s, &count))) return r;
    }
    return 0;
}

// Finishes a logical record left in the middle: the rest of its piece and
// every further piece up to its end marker.
int finishRecord(Slot& s) {
    if (s.pieceLeft < 0) return 0;
    int r = skipPhysRest(s);
    if (r) return r;
    int count;
    for (;;) {
        if ((r = readWord(s, &count))) return r;
        if (count <= 0) break;
        bool atEnd;
        int got = physRead(s, 1, 0, nullptr, &atEnd);
        if (got < 0) return got;
        if (atEnd) return -14;
    }
    if (count == 0) s.datablockEnded = 1;
    s.pieceLeft = -1;
    return 0;
}

void copyName(char name[9], const int words[2]) {
    std::memcpy(name, words, 8);
    name[8] = '\0';
}

int readDatablkHeader(Slot& s, int table, bool acceptVersion, char name[9], int trailer[6],
                      int* eof) {
    *eof = 0;
    bool atEnd;
    int count = 0;
    int r = physRead(s, 1, 1, &count, &atEnd);
    if (r < 0) return r;
    if (atEnd) {
        *eof = 1;
        return 0;
    }
    // A header starts with a one-word record; a longer one is not a header
    // (a file of 64-bit words).
    if (r == 0 || s.physWords != 1) return -14;
    if (s.swapped) count = swap4(count);
    if (count == 0) {
        *eof = 1;
        return 0;
    }
    if (count < 0) return -14;
    int words[2] = {0, 0};
    r = physRead(s, 1, 2, words, &atEnd);
    if (r < 0) return r;
    if (r == 0) return -14;
    copyName(name, words);
    int w;
    if ((r = readWord(s, &w))) return r;
    if (w != -1) {
        if (!acceptVersion) return -14;
        int text[3] = {0, 0, 0};
        r = physRead(s, 1, 3, text, &atEnd);
        if (r < 0) return r;
        if (r == 0) return -14;
        std::memcpy(s.version, text, 12);
        s.version[12] = '\0';
        if ((r = readWord(s, &w))) return r;
    }
    int c;
    if ((r = readWord(s, &c))) return r;
    if (c < 1) return -14;
    int block[7] = {0, 0, 0, 0, 0, 0, 0};
    r = physRead(s, 1, 7, block, &atEnd);
    if (r < 0) return r;
    if (r == 0) return -14;
    std::memcpy(trailer, block + 1, 6 * sizeof(int));
    if ((r = readWord(s, &w))) return r;
    if (table) {
        for (int i = 0; i < 5; ++i) {
            int first;
            r = physRead(s, 1, 1, &first, &atEnd);
            if (r < 0) return r;
            if (r == 0) return -14;
        }
    }
    return 0;
}

int writeDatablkHeader(Slot& s, int table, const char name[9], const int trailer[6]) {
    int words[2] = {0x20202020, 0x20202020};
    size_t n = strnlen(name, 8);
    std::memcpy(words, name, n);
    int block[7] = {101, trailer[0], trailer[1], trailer[2], trailer[3], trailer[4], trailer[5]};
    int r;
    if ((r = writeWord(s, 2)) || (r = physWrite(s, 1, 2, words)) || (r = writeWord(s, -1)) ||
        (r = writeWord(s, 7)) || (r = physWrite(s, 1, 7, block)) || (r = writeWord(s, -2)))
        return r;
    if (table) {
        if ((r = writeWord(s, 1)) || (r = writeWord(s, 0)) || (r = writeWord(s, 2)) ||
            (r = physWrite(s, 1, 2, words)) || (r = writeWord(s, -3)))
            return r;
    }
    return 0;
}

size_t elementBytes(int type) {
    return type == 1 ? 4 : type == 4 ? 16 : 8;
}

// The slot's column buffer, zeroed, with `count` elements: the rows of the
// request only, so that the memory follows what the caller asked for and
// not the row count a file declares.
bool columnBuffer(Slot& s, size_t count) {
    size_t bytes = count * elementBytes(s.matrixType);
    if (!s.column || s.columnBytes < bytes) {
        std::free(s.column);
        s.column = static_cast<unsigned char*>(std::calloc(bytes ? bytes : 1, 1));
        s.columnBytes = s.column ? bytes : 0;
        return s.column != nullptr;
    }
    std::memset(s.column, 0, bytes);
    return true;
}

bool isComplex(int type) {
    return type == 3 || type == 4;
}

void resetSlot(Slot& s) {
    std::free(s.column);
    Slot fresh;
    fresh.buf.swap(s.buf);
    fresh.buf.clear();
    s = std::move(fresh);
}

// The column request of the unpacking and packing operations: a matrix
// type and a row range with its step inside the open matrix. 0 or -23.
int checkRequest(const char* pre, const Slot& s, int type, int first, int last, int step) {
    if (type < 1 || type > 4) {
        say("%s%d is an illegal matrix type\n", pre, type);
        return -23;
    }
    if (first < 1 || first > s.rows) {
        say("%sRow number of first element is out of range\n", pre);
        return -23;
    }
    if (last < first || last > s.rows) {
        say("%sRow number of last element is out of range\n", pre);
        return -23;
    }
    if (step < 1 || step > s.rows) {
        say("%s%d is an illegal row increment\n", pre, step);
        return -23;
    }
    return 0;
}

// The bodies of the exported functions; the functions themselves, below,
// run them through the boundary guard.

int op2_Init_body(FILE* err) {
    g_err = err;
    for (Slot& s : g_slots) {
        if (s.descriptor) ::close(s.descriptor);
        resetSlot(s);
    }
    return 0;
}

int op2_End_body(void) {
    for (int i = 0; i < kSlots; ++i)
        if (g_slots[i].descriptor)
            say("\n*E* op2_End: File with Identifier %d not closed\n", i + 1);
    return 0;
}

int op2_OpenFile_body(const char* path, char key) {
    int free = -1;
    for (int i = 0; i < kSlots; ++i)
        if (g_slots[i].descriptor == 0) {
            free = i;
            break;
        }
    if (free < 0) {
        say("\n*E* op2_OpenFile: Maximum Number of Open Files ( %d ) reached\n", kSlots);
        return -1;
    }
    if (key != 'R' && key != 'W') {
        say("\n*E* op2_OpenFile: Wrong Access Key %c\n", key);
        return -2;
    }
    int fd = -1;
    if (path) {
        if (key == 'R')
            fd = ::open(path, O_RDONLY | O_CLOEXEC);
        else
            fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    } else {
        errno = EINVAL;
    }
    // Descriptor 0 marks a free slot; a file opened as descriptor 0 (stdin
    // closed by the process) is moved up.
    if (fd == 0) {
        int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 1);
        ::close(fd);
        fd = moved;
    }
    if (fd < 0) {
        say("\n*E* op2_OpenFile: Could not open file %s: %s\n", path ? path : "(null)",
            std::strerror(errno));
        return -3;
    }
    Slot& s = g_slots[free];
    resetSlot(s);
    s.descriptor = fd;
    s.access = key == 'R' ? 1 : 2;
    if (key == 'R') {
        struct stat st;
        s.fileSize = ::fstat(fd, &st) == 0 ? st.st_size : 0;
        s.buf.resize(kBufferBytes);
    } else {
        s.buf.reserve(kBufferBytes + 64);
    }
    return free + 1;
}

int op2_CloseFile_body(int id) {
    Slot* s = slotOf(id);
    if (!s) {
        say("\n*E* op2_CoseFile: Bad File Identifier, %d\n", id);
        return -10;
    }
    if (s->descriptor == 0) {
        say("\n*E* op2_CloseFile: File not open, File Identifier %d\n", id);
        return -11;
    }
    int status = 0;
    if (s->access == 2) {
        status = writeWord(*s, 0);
        if (status == 0 && flushWrites(*s) != 0) {
            sayErrno("*E* WritePhysRecord");
            status = -15;
        }
    }
    if (::close(s->descriptor) != 0) {
        sayErrno("*E* op2_CloseFile");
        return -4;
    }
    resetSlot(*s);
    return status;
}

int op2_GetSwapped_body(int id, int* swapped) {
    Slot* s;
    int r = checkSlot(id, "\n*E* op2_GetSwapped: Bad File Identifier, %d\n",
                      "\n*E* op2_GetSwapped: ", 1, &s);
    if (r) return r;
    if (swapped) *swapped = s->swapped;
    return 0;
}

int HandleSwapByte4Int_body(int id, int* word) {
    Slot* s;
    int r = checkSlot(id, "\n*E* HandleSwapByte4Int: Bad File Identifier, %d\n",
                      "\n*E* HandleSwapByte4Int: ", 1, &s);
    if (r) return r;
    if (word && s->swapped) *word = swap4(*word);
    return 0;
}

int op2_ReadLabel2_body(int id, int date[3], char label[9], char version[13]) {
    Slot* s;
    int r = checkSlot(id, "\n*E* op2_ReadLabel2: Bad File Identifier, %d\n",
                      "\n*E* op2_ReadLabel2: ", 1, &s);
    if (r) return r;
    int w;
    // Each step expects the label's exact shape, the lengths of its first
    // six records included: a file that starts with anything else (a
    // datablock header, or the label in 64-bit words) is refused so the
    // caller can read it another way.
    if ((r = readExactWord(*s, &w))) return r;
    if (w != 3) return -14;
    int d[3] = {0, 0, 0};
    if ((r = readExact(*s, 3, d))) return r;
    if ((r = readExactWord(*s, &w))) return r;
    if (w != 7) return -14;
    int code[7];
    if ((r = readExact(*s, 7, code))) return r;
    if ((r = readExactWord(*s, &w))) return r;
    if (w != 2) return -14;
    int name[2] = {0, 0};
    if ((r = readExact(*s, 2, name))) return r;
    // The version part that may follow is of the writer's own length.
    bool atEnd;
    if ((r = readWord(*s, &w))) return r;
    char text[13] = {0};
    if (w != -1) {
        int v[3] = {0, 0, 0};
        if ((r = physRead(*s, 1, 3, v, &atEnd)) < 0) return r;
        if (r != 3) return -14;
        std::memcpy(text, v, 12);
        if ((r = readWord(*s, &w))) return r;
    }
    if ((r = readWord(*s, &w))) return r;
    if (date) std::memcpy(date, d, sizeof d);
    if (label) copyName(label, name);
    std::memcpy(s->version, text, sizeof text);
    if (version) std::memcpy(version, text, sizeof text);
    return 0;
}

int op2_WriteLabel_body(int id, const int label[2]) {
    Slot* s;
    int r = checkSlot(id, "\n*E* op2_WriteLabel: Bad File Identifier, %d\n",
                      "\n*E* op2_WriteLabel: ", 2, &s);
    if (r) return r;
    int date[3] = {0, 0, 0};
    time_t now = std::time(nullptr);
    struct tm tmv;
    if (now != static_cast<time_t>(-1) && gmtime_r(&now, &tmv)) {
        date[0] = tmv.tm_mon + 1;
        date[1] = tmv.tm_mday;
        date[2] = tmv.tm_year + 1900 - 2000;
    }
    static const char kTape[] = "KORBELD FORT TAPE ID CODE - ";
    int tape[7];
    std::memcpy(tape, kTape, 28);
    int name[2] = {0x20202020, 0x20202020};
    if (label) std::memcpy(name, label, 8);
    if ((r = writeWord(*s, 3)) || (r = physWrite(*s, 1, 3, date)) || (r = writeWord(*s, 7)) ||
        (r = physWrite(*s, 1, 7, tape)) || (r = writeWord(*s, 2)) ||
        (r = physWrite(*s, 1, 2, name)) || (r = writeWord(*s, -1)) || (r = writeWord(*s, 0)))
        return r;
    return 0;
}

int op2_OpenDatablk_body(int id, int table, char name[9], int trailer[6], int* eof) {
    Slot* s;
    int r = checkSlot(id, "\n*E* op2_OpenDatablk: Bad File Identifier, %d\n",
                      "\n*E* op2_OpenDatablk: ", 0, &s);
    if (r) return r;
    int dummyEof;
    if (!eof) eof = &dummyEof;
    if (s->access == 1) {
        char n[9] = {0};
        int t[6] = {0, 0, 0, 0, 0, 0};
        if ((r = readDatablkHeader(*s, table, true, n, t, eof))) return r;
        if (*eof) return 0;
        if (name) std::memcpy(name, n, 9);
        if (trailer) std::memcpy(trailer, t, sizeof t);
        int rows = s->swapped ? swap4(t[1]) : t[1];
        int type = s->swapped ? swap4(t[3]) : t[3];
        s->rows = rows;
        s->matrixType = type;
        s->recordNumber = 0;
    } else {
        static const int zero[6] = {0, 0, 0, 0, 0, 0};
        const int* t = trailer ? trailer : zero;
        if ((r = writeDatablkHeader(*s, table, name ? name : "", t))) return r;
        *eof = 0;
        s->rows = t[1];
        s->matrixType = t[3];
        s->recordNumber = table ? 3 : 2;
    }
    s->pieceLeft = -1;
    s->recordOpen = 0;
    s->datablockEnded = 0;
    std::free(s->column);
    s->column = nullptr;
    s->columnBytes = 0;
    return 0;
}

int op2_CloseDatablk_body(int id) {
    Slot* s;
    int r = checkSlot(id, "\n*E* op2_CloseDatablk: Bad File Identifier, %d\n",
                      "\n*E* op2_CloseDatablk: ", 0, &s);
    if (r) return r;
    s->matrixType = 0;
    s->rows = 0;
    std::free(s->column);
    s->column = nullptr;
    s->columnBytes = 0;
    if (s->access == 1) {
        // A record left in the middle is finished first, so that the walk
        // below starts at a record key.
        if (!s->datablockEnded && (r = finishRecord(*s))) return r;
        while (!s->datablockEnded) {
            int skipped, ended;
            if ((r = skipLogRecord(*s, &skipped, &ended))) return r;
            if (ended) s->datablockEnded = 1;
        }
    } else if (!s->datablockEnded) {
        if (s->recordOpen) {
            // An unfinished record gets its end marker first.
            ++s->recordNumber;
            if ((r = writeWord(*s, -s->recordNumber))) return r;
            s->recordOpen = 0;
        }
        if ((r = writeWord(*s, 1)) || (r = writeWord(*s, 0)) || (r = writeWord(*s, 0))) return r;
    }
    s->recordNumber = 0;
    s->pieceLeft = -1;
    s->datablockEnded = 0;
    return 0;
}

int op2_SkipDatablk_body(int id, char name[9], int trailer[6], int* maxlen, int* eof) {
    Slot* s;
    int r = checkSlot(id, "\n*E* op2_SkipDatablk: Bad File Identifier, %d\n",
                      "\n*E* op2_SkipDatablk: ", 1, &s);
    if (r) return r;
    int dummy;
    if (!eof) eof = &dummy;
    char n[9] = {0};
    int t[6] = {0, 0, 0, 0, 0, 0};
    if ((r = readDatablkHeader(*s, 0, false, n, t, eof))) return r;
    if (maxlen) *maxlen = 0;
    if (*eof) return 0;
    if (name) std::memcpy(name, n, 9);
    if (trailer) std::memcpy(trailer, t, sizeof t);
    int longest = 0;
    for (;;) {
        int skipped, ended;
        if ((r = skipLogRecord(*s, &skipped, &ended))) return r;
        if (ended) break;
        if (skipped > longest) longest = skipped;
    }
    if (maxlen) *maxlen = longest;
    s->pieceLeft = -1;
    s->datablockEnded = 0;
    return 0;
}

int op2_ReadRecord_body(int id, int wanted, int advance, int* delivered, int* status,
                        void* buffer) {
    Slot* s;
    int r = checkSlot(id, "\n*E* op2_ReadRecord: Bad File Identifier, %d\n",
                      "\n*E* op2_ReadRecord: ", 1, &s);
    if (r) return r;
    int dummyDelivered, dummyStatus;
    if (!delivered) delivered = &dummyDelivered;
    if (!status) status = &dummyStatus;
    *delivered = 0;
    *status = 0;
    if (wanted < 0 || (wanted > 0 && !buffer)) {
        say("\n*E* op2_ReadRecord: Bad Number of Words, %d\n", wanted);
        return -23;
    }
    if (s->datablockEnded) {
        *status = 2;
        return 0;
    }
    unsigned char* out = static_cast<unsigned char*>(buffer);
    if (s->pieceLeft < 0) {
        int key, second;
        if ((r = readWord(*s, &key)) || (r = readWord(*s, &second))) return r;
        if (second != 0) {
            say("\n*E* op2_ReadRecord: Datablock does not contain a Table\n    Record Number = "
                "%d\n",
                s->physReads);
            return -21;
        }
        s->pieceLeft = 0;
    }
    while (wanted > 0) {
        if (s->pieceLeft == 0) {
            int n;
            if ((r = readWord(*s, &n))) return r;
            if (n == 0) {
                *status = 2;
                s->datablockEnded = 1;
                s->pieceLeft = -1;
                return 0;
            }
            if (n < 0) {
                *status = 1;
                s->pieceLeft = -1;
                return 0;
            }
            s->pieceLeft = n;
        }
        int k = wanted < s->pieceLeft ? wanted : s->pieceLeft;
        bool atEnd;
        int got = physRead(*s, 0, k, out + static_cast<size_t>(*delivered) * 4, &atEnd);
        if (got < 0) return got;
        if (got == 0) return -14;
        *delivered += got;
        s->pieceLeft -= got;
        wanted -= got;
        // A piece count that disagrees with its physical record leaves the
        // walk out of step: stop here rather than read data as counts.
        if ((s->pieceLeft > 0) != s->physOpen) return -14;
    }
    if (advance == 1) {
        if ((r = finishRecord(*s))) return r;
        *status = 1;
        return 0;
    }
    if (s->pieceLeft == 0) {
        int n;
        if ((r = readWord(*s, &n))) return r;
        if (n > 0) {
            s->pieceLeft = n;
        } else {
            if (n == 0) s->datablockEnded = 1;
            *status = 1;
            s->pieceLeft = -1;
        }
    }
    return 0;
}

const unsigned char* op2_ReadEntryRun_body(int id, int size, int maxEntries, int* count) {
    *count = 0;
    Slot* s = slotOf(id);
    if (!s || s->descriptor == 0 || s->access != 1 || size < 1 || maxEntries < 1) return nullptr;
    if (s->datablockEnded || !s->physOpen) return nullptr;
    // Each entry taken is op2_ReadRecord's one-copy case: inside the piece
    // with words to spare (no count word due), inside the physical record
    // with words to spare, inside the window.
    const long long words = static_cast<long long>(size);
    const long long inPiece = (static_cast<long long>(s->pieceLeft) - 1) / words;
    const long long inRecord = (static_cast<long long>(s->physLeft) - 1) / words;
    const long long inWindow = static_cast<long long>((s->bufLen - s->bufPos) / 4) / words;
    long long n = maxEntries;
    if (inPiece < n) n = inPiece;
    if (inRecord < n) n = inRecord;
    if (inWindow < n) n = inWindow;
    if (n <= 0) return nullptr;
    const unsigned char* first = s->buf.data() + s->bufPos;
    s->bufPos += static_cast<size_t>(n * words * 4);
    s->physLeft -= static_cast<int>(n * words);
    s->pieceLeft -= static_cast<int>(n * words);
    s->physReads += static_cast<int>(n);
    *count = static_cast<int>(n);
    return first;
}

int op2_WriteRecord_body(int id, int count, int advance, const void* data) {
    Slot* s;
    int r = checkSlot(id, "\n*E* op2_WriteRecord: Bad File Identifier, %d\n",
                      "\n*E* op2_WriteRecord: ", 2, &s);
    if (r) return r;
    // A record of more words than a length word can count is refused too.
    if (count < 0 || count > INT_MAX / 4 || (count > 0 && !data)) {
        say("\n*E* op2_WriteRecord: Bad Number of Words, %d\n", count);
        return -23;
    }
    if (advance != 0 && advance != 1) {
        say("\n*E* op2_WriteRecord: Bad Value of Advance Flag, %d\n", advance);
        return -23;
    }
    if (!s->recordOpen) {
        if ((r = writeWord(*s, 1)) || (r = writeWord(*s, 0))) return r;
    }
    // An empty piece would read as the datablock's end: only counts > 0.
    if (count > 0) {
        if ((r = writeWord(*s, count)) || (r = physWrite(*s, 1, count, data))) return r;
    }
    if (advance == 1) {
        ++s->recordNumber;
        if ((r = writeWord(*s, -s->recordNumber))) return r;
        s->recordOpen = 0;
    } else {
        s->recordOpen = 1;
    }
    return 0;
}

int op2_UnpackColumn_body(int id, const int request[4], int* delivered, void* buffer, int* eom) {
    Slot* s;
    int r = checkSlot(id, "\n*E* op2_UnpackColmn: Bad File Identifier, %d\n",
                      "\n*E* op2_UnpackColumn: ", 1, &s);
    if (r) return r;
    int dummyDelivered, dummyEom;
    if (!delivered) delivered = &dummyDelivered;
    if (!eom) eom = &dummyEom;
    *delivered = 0;
    *eom = 0;
    if (!request) return -23;
    int type = request[0], first = request[1], last = request[2], step = request[3];
    const char* pre = "\n*E* op2_UnpackColumn: ";
    if ((r = checkRequest(pre, *s, type, first, last, step))) return r;
    if (s->matrixType < 1 || s->matrixType > 4) {
        say("%s%d is an illegal matrix type\n", pre, s->matrixType);
        return -23;
    }
    if (isComplex(s->matrixType) != isComplex(type)) {
        if (isComplex(type)) {
            say("%sConversion from Real to Complex not Supported\n", pre);
            return -24;
        }
        say("%sConversion from Complex to Real not Supported\n", pre);
        return -25;
    }
    int key, flag;
    if ((r = readWord(*s, &key)) || (r = readWord(*s, &flag))) return r;
    if (flag == 0) {
        int w;
        if ((r = readWord(*s, &w))) return r;
        if (w == 0) {
            *eom = 1;
            s->datablockEnded = 1;
            return 0;
        }
        say("\n*E* op2_UnpackColmn: Datablock does not contain a Matrix\n");
        return -22;
    }
    const size_t span = static_cast<size_t>(last - first + 1);
    if (!columnBuffer(*s, span)) {
        say("\nop2_UnpackColumn: Not enough Memory\n");
        return -16;
    }
    const size_t elem = elementBytes(s->matrixType);
    const size_t wordsPerElem = elem / 4;
    // Words of the column kept: those of rows first..last.
    const size_t keepFrom = (static_cast<size_t>(first) - 1) * wordsPerElem;
    const size_t keepTo = keepFrom + span * wordsPerElem;
    int n;
    if ((r = readWord(*s, &n))) return r;
    while (n > 0) {
        bool atEnd;
        int row = 0;
        int got = physRead(*s, 0, 1, &row, &atEnd);
        if (got < 0) return got;
        if (got == 0) return -14;
        if (s->swapped) row = swap4(row);
        // The string must lie within the column: a row or count the matrix
        // cannot hold is a broken file, not a write past the buffer.
        size_t capacityWords = static_cast<size_t>(s->rows) * wordsPerElem;
        if (row < 1 ||
            (static_cast<size_t>(row) - 1) * wordsPerElem + static_cast<size_t>(n) >
                capacityWords ||
            !s->physOpen || s->physLeft != n)
            return -14;
        // Read in pieces; only the part inside the kept rows is stored.
        size_t at = (static_cast<size_t>(row) - 1) * wordsPerElem;
        for (int left = n; left > 0;) {
            int piece[1024];
            const int k = left < 1024 ? left : 1024;
            got = physRead(*s, 0, k, piece, &atEnd);
            if (got < 0) return got;
            if (got != k) return -14;
            const size_t from = at > keepFrom ? at : keepFrom;
            const size_t to = at + k < keepTo ? at + k : keepTo;
            if (from < to)
                std::memcpy(s->column + (from - keepFrom) * 4, piece + (from - at),
                            (to - from) * 4);
            at += static_cast<size_t>(k);
            left -= k;
        }
        if ((r = readWord(*s, &n))) return r;
    }
    if (!buffer) return 0;
    unsigned char* out = static_cast<unsigned char*>(buffer);
    const size_t outElem = elementBytes(type);
    int count = 0;
    for (int row = first; row <= last; row += step, ++count) {
        const unsigned char* src = s->column + static_cast<size_t>(row - first) * elem;
        unsigned char* dst = out + static_cast<size_t>(count) * outElem;
        if (s->matrixType == type) {
            std::memcpy(dst, src, elem);
            continue;
        }
        int parts = isComplex(type) ? 2 : 1;
        for (int p = 0; p < parts; ++p) {
            if (s->matrixType == 1 || s->matrixType == 3) {  // single to double
                float f;
                std::memcpy(&f, src + p * 4, 4);
                double d = f;
                std::memcpy(dst + p * 8, &d, 8);
            } else {  // double to single
                double d;
                std::memcpy(&d, src + p * 8, 8);
                float f = static_cast<float>(d);
                std::memcpy(dst + p * 4, &f, 4);
            }
        }
    }
    *delivered = count;
    return 0;
}

int op2_PackColumn_body(int id, const int request[4], const void* values) {
    Slot* s;
    int r = checkSlot(id, "\n*E* op2_PackColmn: Bad File Identifier, %d\n",
                      "\n*E* op2_PackColumn: ", 2, &s);
    if (r) return r;
    if (!request) return -23;
    int type = request[0], first = request[1], last = request[2], step = request[3];
    const char* pre = "\n*E* op2_PackColumn: ";
    if ((r = checkRequest(pre, *s, type, first, last, step))) return r;
    if (isComplex(type) || isComplex(s->matrixType) || s->matrixType < 1) {
        say("%sComplex data not supported\n", pre);
        return -26;
    }
    // The column is one physical record: its bytes must fit a length word.
    if (static_cast<size_t>(last - first + 1) * elementBytes(s->matrixType) > INT_MAX) {
        say("%sRow number of last element is out of range\n", pre);
        return -23;
    }
    if (!columnBuffer(*s, static_cast<size_t>(last - first + 1))) {
        say("%sNot enough Memory\n", pre);
        return -16;
    }
    if ((r = writeWord(*s, 1)) || (r = writeWord(*s, 1))) return r;
    const size_t elem = elementBytes(s->matrixType);
    const int span = last - first + 1;
    const unsigned char* in = static_cast<const unsigned char*>(values);
    for (int pos = 0, k = 0; pos < span; pos += step, ++k) {
        unsigned char* dst = s->column + static_cast<size_t>(pos) * elem;
        if (!in) break;
        if (type == s->matrixType) {
            std::memcpy(dst, in + static_cast<size_t>(k) * elem, elem);
        } else if (type == 1) {
            float f;
            std::memcpy(&f, in + static_cast<size_t>(k) * 4, 4);
            double d = f;
            std::memcpy(dst, &d, 8);
        } else {
            double d;
            std::memcpy(&d, in + static_cast<size_t>(k) * 8, 8);
            float f = static_cast<float>(d);
            std::memcpy(dst, &f, 4);
        }
    }
    int words = static_cast<int>(static_cast<size_t>(span) * elem / 4);
    if ((r = writeWord(*s, words)) || (r = physWrite(*s, 0, 1, &first)) ||
        (r = physWrite(*s, 1, words, s->column)))
        return r;
    ++s->recordNumber;
    if ((r = writeWord(*s, 0 - s->recordNumber))) return r;
    return 0;
}

int op2_PackColumnI_body(int id, int type, const int* rows, int n, const void* values) {
    Slot* s;
    int r = checkSlot(id, "\n*E* op2_PackColmnI: Bad File Identifier, %d\n",
                      "\n*E* op2_PackColumnI: ", 2, &s);
    if (r) return r;
    const char* pre = "\n*E* op2_PackColumnI: ";
    if (type < 1 || type > 4) {
        say("%s%d is an illegal matrix type\n", pre, type);
        return -23;
    }
    if (n < 1 || n > s->rows || !rows) {
        say("%sIllegal Length of Index Array (%d)\n", pre, n);
        return -23;
    }
    if (rows[0] < 1 || rows[0] > s->rows) {
        say("%sRow number of first element is out of range\n", pre);
        return -23;
    }
    // Runs are written in list order; the list must ascend within the matrix.
    for (int i = 1; i < n; ++i)
        if (rows[i] <= rows[i - 1] || rows[i] > s->rows) {
            say("%sRow number of last element is out of range\n", pre);
            return -23;
        }
    if (isComplex(type) || isComplex(s->matrixType) || s->matrixType < 1) {
        say("%sComplex data not supported\n", pre);
        return -26;
    }
    const size_t elem = elementBytes(s->matrixType);
    // A run is one physical record: its bytes must fit a length word.
    if (static_cast<size_t>(n) * elem > INT_MAX) {
        say("%sIllegal Length of Index Array (%d)\n", pre, n);
        return -23;
    }
    std::vector<unsigned char> converted;
    try {
        converted.resize(static_cast<size_t>(n) * elem);
    } catch (const std::bad_alloc&) {
        say("%sNot enough Memory\n", pre);
        return -16;
    }
    const unsigned char* in = static_cast<const unsigned char*>(values);
    for (int i = 0; i < n && in; ++i) {
        unsigned char* dst = converted.data() + static_cast<size_t>(i) * elem;
        if (type == s->matrixType) {
            std::memcpy(dst, in + static_cast<size_t>(i) * elem, elem);
        } else if (type == 1) {
            float f;
            std::memcpy(&f, in + static_cast<size_t>(i) * 4, 4);
            double d = f;
            std::memcpy(dst, &d, 8);
        } else {
            double d;
            std::memcpy(&d, in + static_cast<size_t>(i) * 8, 8);
            float f = static_cast<float>(d);
            std::memcpy(dst, &f, 4);
        }
    }
    if ((r = writeWord(*s, 1)) || (r = writeWord(*s, 1))) return r;
    int i = 0;
    while (i < n) {
        int j = i + 1;
        while (j < n && rows[j] == rows[j - 1] + 1) ++j;
        int words = static_cast<int>(static_cast<size_t>(j - i) * elem / 4);
        if ((r = writeWord(*s, words)) || (r = physWrite(*s, 0, 1, &rows[i])) ||
            (r = physWrite(*s, 1, words, converted.data() + static_cast<size_t>(i) * elem)))
            return r;
        i = j;
    }
    ++s->recordNumber;
    if ((r = writeWord(*s, 0 - s->recordNumber))) return r;
    return 0;
}

// What an exception inside an exported function leaves on the error stream.
struct Report {
    const char* function;
    void operator()(const char* reason) const { say("\n*E* %s: %s\n", function, reason); }
};

}  // namespace

extern "C" {

int SwapByte4Int(int word) {
    return swap4(word);
}

int op2_Init(FILE* err) {
    return op2_guard(-16, Report{"op2_Init"}, [&] { return op2_Init_body(err); });
}

int op2_End(void) {
    return op2_guard(-16, Report{"op2_End"}, [&] { return op2_End_body(); });
}

int op2_OpenFile(const char* path, char key) {
    return op2_guard(-16, Report{"op2_OpenFile"}, [&] { return op2_OpenFile_body(path, key); });
}

int op2_CloseFile(int id) {
    return op2_guard(-16, Report{"op2_CloseFile"}, [&] { return op2_CloseFile_body(id); });
}

int op2_GetSwapped(int id, int* swapped) {
    return op2_guard(-16, Report{"op2_GetSwapped"},
                     [&] { return op2_GetSwapped_body(id, swapped); });
}

int HandleSwapByte4Int(int id, int* word) {
    return op2_guard(-16, Report{"HandleSwapByte4Int"},
                     [&] { return HandleSwapByte4Int_body(id, word); });
}

int op2_ReadLabel2(int id, int date[3], char label[9], char version[13]) {
    return op2_guard(-16, Report{"op2_ReadLabel2"},
                     [&] { return op2_ReadLabel2_body(id, date, label, version); });
}

int op2_WriteLabel(int id, const int label[2]) {
    return op2_guard(-16, Report{"op2_WriteLabel"}, [&] { return op2_WriteLabel_body(id, label); });
}

int op2_OpenDatablk(int id, int table, char name[9], int trailer[6], int* eof) {
    return op2_guard(-16, Report{"op2_OpenDatablk"},
                     [&] { return op2_OpenDatablk_body(id, table, name, trailer, eof); });
}

int op2_CloseDatablk(int id) {
    return op2_guard(-16, Report{"op2_CloseDatablk"}, [&] { return op2_CloseDatablk_body(id); });
}

int op2_SkipDatablk(int id, char name[9], int trailer[6], int* maxlen, int* eof) {
    return op2_guard(-16, Report{"op2_SkipDatablk"},
                     [&] { return op2_SkipDatablk_body(id, name, trailer, maxlen, eof); });
}

int op2_ReadRecord(int id, int wanted, int advance, int* delivered, int* status, void* buffer) {
    return op2_guard(-16, Report{"op2_ReadRecord"}, [&] {
        return op2_ReadRecord_body(id, wanted, advance, delivered, status, buffer);
    });
}

const unsigned char* op2_ReadEntryRun(int id, int size, int maxEntries, int* count) {
    return op2_guard(nullptr, Report{"op2_ReadEntryRun"},
                     [&] { return op2_ReadEntryRun_body(id, size, maxEntries, count); });
}

int op2_WriteRecord(int id, int count, int advance, const void* data) {
    return op2_guard(-16, Report{"op2_WriteRecord"},
                     [&] { return op2_WriteRecord_body(id, count, advance, data); });
}

int op2_UnpackColumn(int id, const int request[4], int* delivered, void* buffer, int* eom) {
    return op2_guard(-16, Report{"op2_UnpackColumn"},
                     [&] { return op2_UnpackColumn_body(id, request, delivered, buffer, eom); });
}

int op2_PackColumn(int id, const int request[4], const void* values) {
    return op2_guard(-16, Report{"op2_PackColumn"},
                     [&] { return op2_PackColumn_body(id, request, values); });
}

int op2_PackColumnI(int id, int type, const int* rows, int n, const void* values) {
    return op2_guard(-16, Report{"op2_PackColumnI"},
                     [&] { return op2_PackColumnI_body(id, type, rows, n, values); });
}
}

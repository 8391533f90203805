#include "layuplib/read_lypgroup.h"

#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Read block size: large enough that a block read costs little per line.
constexpr size_t kBlockSize = 1u << 16;
// Blocks the inflating thread may run ahead of the reader, and zlib's own
// input buffer (its default of 8 KiB costs a read call per few lines).
constexpr size_t kInflateAhead = 32;
constexpr unsigned kGzBufferSize = 1u << 17;

// The record code of a line: its first three characters as "%d" reads them
// (leading blanks, a sign, digits); 0 when they hold no number. Written out
// because it runs for every line.
int RecordCode(const char* text, size_t size) {
    // The usual three digits.
    if (size >= 3) {
        const unsigned a = static_cast<unsigned>(text[0] - '0');
        const unsigned b = static_cast<unsigned>(text[1] - '0');
        const unsigned c = static_cast<unsigned>(text[2] - '0');
        if ((a <= 9) & (b <= 9) & (c <= 9)) return static_cast<int>(100 * a + 10 * b + c);
    }
    const size_t n = size < 3 ? size : 3;
    size_t i = 0;
    while (i < n && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < n && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int code = 0;
    bool digits = false;
    for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i) {
        code = 10 * code + (text[i] - '0');
        digits = true;
    }
    if (!digits) return 0;
    return negative ? -code : code;
}

// The first line feed in [begin, end), or null; reads up to 15 bytes past
// `end`, which the block's padding keeps readable. A record line is short,
// so one or two vector compares find its end, cheaper than a call to
// memchr per line.
inline const char* FindLineFeed(const char* begin, const char* end) {
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    for (const char* p = begin; p < end; p += 16) {
        const unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), lf)));
        if (bits) {
            const char* at = p + __builtin_ctz(bits);
            return at < end ? at : nullptr;
        }
    }
    return nullptr;
#else
    return static_cast<const char*>(std::memchr(begin, '\n', static_cast<size_t>(end - begin)));
#endif
}

// Whether the bytes a, b are one of the pairs of `pairs` ("1020": "10" or
// "20").
inline bool IsPair(const char* pairs, char a, char b) {
    for (; pairs[0] && pairs[1]; pairs += 2)
        if (pairs[0] == a && pairs[1] == b && a != '\n') return true;
    return false;
}

// Whether a line that begins inside [p, p + n) begins with one of the
// pairs. `carry` says how the text before p ended and is set for the text
// after: LYP_SCAN_NONE in the middle of a line, LYP_SCAN_LINE when a line
// begins at p, 0..255 when a line began with that byte just before p.
bool BlockMayBegin(const char* p, size_t n, const char* pairs, int& carry) {
    if (n == 0) return false;
    if (carry == LYP_SCAN_LINE) {
        if (n == 1) {
            carry = p[0] == '\n' ? LYP_SCAN_LINE : static_cast<unsigned char>(p[0]);
            return false;
        }
        if (IsPair(pairs, p[0], p[1])) return true;
    } else if (carry >= 0 && carry <= 255) {
        if (IsPair(pairs, static_cast<char>(carry), p[0])) return true;
    }
    // Lines that begin after a line feed at i, both of their first bytes
    // in the block: i + 2 < n.
    size_t i = 0;
#if defined(__SSE2__)
    const size_t k = std::strlen(pairs);
    if (k == 2 || k == 4) {
        const __m128i lf = _mm_set1_epi8('\n');
        const __m128i a0 = _mm_set1_epi8(pairs[0]), b0 = _mm_set1_epi8(pairs[1]);
        const __m128i a1 = _mm_set1_epi8(pairs[k - 2]), b1 = _mm_set1_epi8(pairs[k - 1]);
        for (; i + 18 <= n; i += 16) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            const __m128i one = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
            const __m128i two = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 2));
            const __m128i hit = _mm_or_si128(
                _mm_and_si128(_mm_cmpeq_epi8(one, a0), _mm_cmpeq_epi8(two, b0)),
                _mm_and_si128(_mm_cmpeq_epi8(one, a1), _mm_cmpeq_epi8(two, b1)));
            if (_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(here, lf), hit))) return true;
        }
    }
#endif
    for (; i + 2 < n; ++i)
        if (p[i] == '\n' && IsPair(pairs, p[i + 1], p[i + 2])) return true;
    carry = LYP_SCAN_NONE;
    if (n >= 2 && p[n - 2] == '\n') carry = static_cast<unsigned char>(p[n - 1]);
    if (p[n - 1] == '\n') carry = LYP_SCAN_LINE;
    return false;
}

}  // namespace

LypStream::LypStream()
    : m_file(nullptr),
      m_gz(nullptr),
      m_pos(0),
      m_end(0),
      m_line(0),
      m_failed(false),
      m_stop(false),
      m_lost(false),
      m_gzEnded(false),
      m_gzLast(0) {}

LypStream::~LypStream() {
    Close();
}

int LypStream::Open(const char* path, int compressed) {
    Close();
    m_pos = m_end = 0;
    m_line = 0;
    m_failed = false;
    m_error.clear();
    if (!path) return -1;
    try {
        // The padding keeps every line's LYP_LINE_PAD bytes readable.
        m_block.resize(kBlockSize + LYP_LINE_PAD);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    if (compressed) {
        m_gz = gzopen(path, "rb");
        if (!m_gz) return -1;
        gzbuffer(m_gz, kGzBufferSize);  // before the first read, as zlib requires
        m_stop = m_lost = m_gzEnded = false;
        m_gzLast = 0;
        try {
            m_inflater = std::thread(&LypStream::Inflate, this);
        } catch (...) {
            // Without a thread Fill inflates each block itself.
        }
        return 0;
    }
    m_file = std::fopen(path, "rb");
    if (!m_file) return -1;
    try {
        m_path = path;
    } catch (const std::bad_alloc&) {
        m_path.clear();  // the rest of the file is then never looked at
    }
    return 0;
}

bool LypStream::BufferMayBegin(const char* pairs, std::string* path, long long* offset,
                               int* carry) const {
    if (!m_file || m_gz || m_failed || m_path.empty() || !pairs) return true;
    int state = LYP_SCAN_LINE;  // a line begins at m_pos
    if (m_end > m_pos && BlockMayBegin(m_block.data() + m_pos, m_end - m_pos, pairs, state))
        return true;
    const long long at = ftello(m_file);
    if (at < 0) return true;
    try {
        *path = m_path;
    } catch (const std::bad_alloc&) {
        return true;
    }
    *offset = at;
    *carry = state;
    return false;
}

bool lyp_file_may_begin(const char* path, long long offset, int carry, const char* pairs) {
    if (!path || !pairs) return true;
    FILE* f = std::fopen(path, "rb");
    if (!f) return true;
    bool found = false;
    if (fseeko(f, static_cast<off_t>(offset), SEEK_SET) != 0) found = true;
    std::vector<char> block;
    try {
        block.resize(1u << 20);
    } catch (const std::bad_alloc&) {
        found = true;
    }
    while (!found) {
        const size_t n = std::fread(block.data(), 1, block.size(), f);
        if (n == 0) {
            found = std::ferror(f) != 0;
            break;
        }
        found = BlockMayBegin(block.data(), n, pairs, carry);
    }
    std::fclose(f);
    return found;
}

int LypStream::Close() {
    StopInflate();
    int status = 0;
    if (m_gz) {
        status = gzclose(m_gz);
        m_gz = nullptr;
    }
    if (m_file) {
        status = std::fclose(m_file);
        m_file = nullptr;
    }
    return status;
}

long LypStream::GzRead(std::vector<char>& block, std::string& error) {
    const int n = gzread(m_gz, block.data(), static_cast<unsigned>(kBlockSize));
    int err = Z_OK;
    const char* text = gzerror(m_gz, &err);
    // zlib reports a stream that ends early (Z_BUF_ERROR) without failing
    // the read itself: the end of the data must be checked too.
    if (n < 0 || (n == 0 && err != Z_OK)) {
        if (err == Z_ERRNO) {
            error = std::strerror(errno);
            return -1;
        }
        error = "the compressed data is corrupt or ends early";
        if (text && *text) {
            error += " (";
            error += text;
            error += ")";
        }
        return -1;
    }
    return n;
}

void LypStream::Inflate() {
    for (;;) {
        Inflated block;
        try {
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_changed.wait(lock, [this] { return m_stop || m_ready.size() < kInflateAhead; });
                if (m_stop) return;
                if (!m_spare.empty()) {
                    block.bytes.swap(m_spare.back());
                    m_spare.pop_back();
                }
            }
            if (block.bytes.size() != kBlockSize + LYP_LINE_PAD)
                block.bytes.resize(kBlockSize + LYP_LINE_PAD);
            block.count = GzRead(block.bytes, block.error);
            const bool last = block.count <= 0;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_ready.push_back(std::move(block));
            }
            m_changed.notify_all();
            if (last) return;
        } catch (...) {
            // Out of memory: the reader fails at this block.
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_lost = true;
            }
            m_changed.notify_all();
            return;
        }
    }
}

void LypStream::StopInflate() {
    if (m_inflater.joinable()) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
        m_inflater.join();
    }
    m_ready.clear();
    m_spare.clear();
}

long LypStream::Fill() {
    m_pos = m_end = 0;
    if (m_gz && m_inflater.joinable()) {
        // The end or failure of the input is final: later reads repeat it.
        if (m_gzEnded) return m_gzLast;
        Inflated block;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_changed.wait(lock, [this] { return !m_ready.empty() || m_lost; });
            if (m_ready.empty()) {
                m_error = "out of memory";
                m_gzEnded = true;
                m_gzLast = -1;
                return -1;
            }
            block = std::move(m_ready.front());
            m_ready.pop_front();
            // The buffer just read goes back to the thread. Should that
            // fail, the thread allocates a new one.
            try {
                if (!m_block.empty()) m_spare.push_back(std::move(m_block));
            } catch (...) {
            }
        }
        m_changed.notify_all();
        m_block.swap(block.bytes);
        if (block.count <= 0) {
            m_gzEnded = true;
            m_gzLast = block.count;
        }
        if (block.count < 0) {
            m_error = block.error;
            return -1;
        }
        m_end = static_cast<size_t>(block.count);
        return block.count;
    }
    if (m_gz) {
        const long n = GzRead(m_block, m_error);
        if (n > 0) m_end = static_cast<size_t>(n);
        return n;
    }
    if (m_file) {
        const size_t n = std::fread(m_block.data(), 1, kBlockSize, m_file);
        if (n == 0 && std::ferror(m_file)) {
            m_error = std::strerror(errno);
            return -1;
        }
        m_end = n;
        return static_cast<long>(n);
    }
    m_error = "the file is not open";
    return -1;
}

int read_lypline(LypStream& stream, LypLine& line) {
    line.code = 0;
    line.text = "";
    line.size = 0;
    line.line = stream.m_line + 1;
    if (stream.m_failed) return -1;

    // Most lines end inside the block: handed out where they lie.
    if (stream.m_pos < stream.m_end) {
        const char* begin = stream.m_block.data() + stream.m_pos;
        const char* lf = FindLineFeed(begin, stream.m_block.data() + stream.m_end);
        if (lf) {
            const size_t take = static_cast<size_t>(lf - begin);
            stream.m_pos += take + 1;
            ++stream.m_line;
            line.text = begin;
            line.size = take;
            line.code = RecordCode(begin, take);
            return 1;
        }
    }

    // A line that runs over the block's end, or the last one without a line
    // feed: copied together.
    std::string& text = stream.m_carry;
    text.clear();
    bool any = false;  // a byte or the line feed of this line was seen
    try {
        for (;;) {
            if (stream.m_pos >= stream.m_end) {
                const long n = stream.Fill();
                if (n < 0) {
                    stream.m_failed = true;
                    return -1;
                }
                if (n == 0) {
                    if (!any) return 0;
                    break;  // a last line without line feed
                }
            }
            const char* begin = stream.m_block.data() + stream.m_pos;
            const size_t avail = stream.m_end - stream.m_pos;
            const char* lf = static_cast<const char*>(std::memchr(begin, '\n', avail));
            const size_t take = lf ? static_cast<size_t>(lf - begin) : avail;
            if (text.size() + take > LYP_MAX_LINE) {
                stream.m_error =
                    "the line is longer than " + std::to_string(LYP_MAX_LINE) + " characters";
                stream.m_failed = true;
                return -1;
            }
            text.append(begin, take);
            any = true;
            stream.m_pos += take;
            if (lf) {
                ++stream.m_pos;  // past the line feed
                break;
            }
        }
        text.append(LYP_LINE_PAD, '\0');
    } catch (const std::bad_alloc&) {
        stream.m_error = "out of memory";
        stream.m_failed = true;
        return -1;
    }
    ++stream.m_line;
    line.text = text.data();
    line.size = text.size() - LYP_LINE_PAD;
    line.code = RecordCode(line.text, line.size);
    return 1;
}

int read_lypgroup(LypStream& stream, LypGroup& group) {
    LypLine line;
    const int got = read_lypline(stream, line);
    group.code = line.code;
    group.line = line.line;
    try {
        group.text.assign(line.text, line.size);
    } catch (const std::bad_alloc&) {
        stream.m_error = "out of memory";
        stream.m_failed = true;
        group.code = 0;
        group.text.clear();
        return -1;
    }
    return got;
}

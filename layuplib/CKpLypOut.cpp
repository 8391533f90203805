#include "layuplib/CKpLypOut.h"

#include <zlib.h>

#include <cstdarg>
#include <cstdio>
#include <new>

namespace {

// Larger blocks than the defaults cut the system calls of a large mesh.
const unsigned kGzBufferSize = 128 * 1024;
const size_t kFileBufferSize = 64 * 1024;
const size_t kInitialLine = 256;

}  // namespace

CKpLypOut::CKpLypOut() : m_file(nullptr), m_gz(nullptr), m_failed(false) {}

CKpLypOut::~CKpLypOut() {
    Close();
}

int CKpLypOut::Open(const char* path, int compress) {
    Close();
    m_failed = false;
    if (compress < 0 || compress > 9) return -1;
    if (!path) path = "";
    if (compress != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "wb%d", compress);
        gzFile gz = gzopen(path, mode);
        if (!gz) return -1;
        gzbuffer(gz, kGzBufferSize);  // before the first write, as zlib requires
        m_gz = gz;
    } else {
        m_file = std::fopen(path, "wb");
        if (!m_file) return -1;
        try {
            m_fileBuffer.resize(kFileBufferSize);
            std::setvbuf(m_file, m_fileBuffer.data(), _IOFBF, m_fileBuffer.size());
        } catch (...) {
            // stdio's own buffer serves as well, only smaller
        }
    }
    return 0;
}

int CKpLypOut::IsOpen() const {
    return (m_file || m_gz) ? 1 : 0;
}

int CKpLypOut::Write(const char* text, size_t length, int compress) {
    if (m_failed) return -1;
    if (length == 0) return IsOpen() ? 0 : -1;
    if (!text) {
        m_failed = true;
        return -1;
    }
    if (compress != 0) {
        // gzwrite takes an unsigned count and gives the bytes taken, 0 on error.
        if (!m_gz || length > 0x7fffffffu ||
            gzwrite(m_gz, text, static_cast<unsigned>(length)) != static_cast<int>(length)) {
            m_failed = true;
            return -1;
        }
    } else if (!m_file || std::fwrite(text, 1, length, m_file) != length) {
        m_failed = true;
        return -1;
    }
    return 0;
}

char* CKpLypOut::Buffer(size_t size) {
    try {
        if (m_buffer.size() < size) m_buffer.resize(size);
    } catch (...) {
        m_failed = true;
        return nullptr;
    }
    return m_buffer.data();
}

int CKpLypOut::Printf(int compress, const char* format, ...) {
    if (m_failed) return -1;
    char* buffer = Buffer(kInitialLine);
    if (!buffer || !format) {
        m_failed = true;
        return -1;
    }
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int n = std::vsnprintf(buffer, m_buffer.size(), format, args);
    va_end(args);
    if (n >= 0 && static_cast<size_t>(n) >= m_buffer.size()) {
        // A long name: grow to fit and format once more.
        buffer = Buffer(static_cast<size_t>(n) + 1);
        n = buffer ? std::vsnprintf(buffer, m_buffer.size(), format, again) : -1;
    }
    va_end(again);
    if (n < 0) {
        m_failed = true;
        return -1;
    }
    return Write(buffer, static_cast<size_t>(n), compress);
}

int CKpLypOut::Close() {
    int status = 0;
    if (m_gz) {
        if (gzclose(m_gz) != Z_OK) status = -1;
        m_gz = nullptr;
    }
    if (m_file) {
        if (std::fclose(m_file) != 0) status = -1;
        m_file = nullptr;
    }
    return status;
}

#include "layuplib/CKpLypOut.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <new>
#include <system_error>
#include <utility>

namespace {

// Larger blocks than the defaults cut the system calls of a large mesh.
const unsigned kGzBufferSize = 128 * 1024;
const size_t kFileBufferSize = 64 * 1024;
// Text handed to the compressing thread at a time, and the blocks that may
// wait for it: enough to keep both threads busy, little memory.
const size_t kBlockSize = 1 << 20;
const size_t kMaxQueued = 4;

}  // namespace

CKpLypOut::CKpLypOut() : m_file(nullptr), m_gz(nullptr), m_failed(false), m_closing(false) {}

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
        try {
            m_block.reserve(kBlockSize);
            m_closing = false;
            m_compressor = std::thread(&CKpLypOut::Compress, this);
        } catch (...) {
            // Without a block or a thread the text goes straight to gzwrite.
            m_block = std::vector<char>();
        }
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
        if (!m_gz) {
            m_failed = true;
            return -1;
        }
        if (m_compressor.joinable()) {
            // Gathered into blocks within their reserved size.
            while (length > 0) {
                const size_t take = std::min(length, kBlockSize - m_block.size());
                m_block.insert(m_block.end(), text, text + take);
                text += take;
                length -= take;
                if (m_block.size() == kBlockSize && !Hand()) return -1;
            }
            return m_failed ? -1 : 0;
        }
        // gzwrite takes an unsigned count and gives the bytes taken, 0 on error.
        if (length > 0x7fffffffu ||
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

bool CKpLypOut::Hand() {
    std::vector<char> next;
    try {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_queue.size() < kMaxQueued; });
        if (!m_spare.empty()) {
            next = std::move(m_spare.back());
            m_spare.pop_back();
        }
        m_queue.push_back(std::move(m_block));
        lock.unlock();
        m_changed.notify_all();
        if (next.capacity() < kBlockSize) next.reserve(kBlockSize);
    } catch (...) {
        m_failed = true;
        m_block = std::vector<char>();
        return false;
    }
    m_block = std::move(next);
    return true;
}

void CKpLypOut::Compress() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return !m_queue.empty() || m_closing; });
        if (m_queue.empty()) return;  // closing, nothing left
        std::vector<char> block = std::move(m_queue.front());
        m_queue.pop_front();
        lock.unlock();
        // After a failure the blocks are only drained, so that no writer
        // waits for room forever.
        if (!m_failed && !block.empty() &&
            gzwrite(m_gz, block.data(), static_cast<unsigned>(block.size())) !=
                static_cast<int>(block.size()))
            m_failed = true;
        block.clear();
        lock.lock();
        try {
            m_spare.push_back(std::move(block));
        } catch (...) {
            // the block is simply freed
        }
        m_changed.notify_all();
    }
}

int CKpLypOut::Close() {
    int status = 0;
    if (m_compressor.joinable()) {
        if (!m_block.empty() && !m_failed) Hand();
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_closing = true;
        }
        m_changed.notify_all();
        m_compressor.join();
        m_queue.clear();
        m_spare.clear();
        m_block = std::vector<char>();
        m_closing = false;
    }
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

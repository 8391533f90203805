#include "layuplib/CPLCFile.h"

#include <sys/types.h>

CPLCFile::CPLCFile() : m_pFile(nullptr), m_bAssigned(0) {}

CPLCFile::~CPLCFile() {
    Close();
}

int CPLCFile::Open(const char* path, const char* mode) {
    Close();
    if (!path || !mode) return 1;
    m_pFile = std::fopen(path, mode);
    return m_pFile ? 0 : 1;
}

int CPLCFile::OpenRead(const char* path) {
    return Open(path, "rb");
}

int CPLCFile::OpenWrite(const char* path) {
    return Open(path, "wb");
}

void CPLCFile::Assign(FILE* stream) {
    Close();
    m_pFile = stream;
    m_bAssigned = stream ? 1 : 0;
}

int CPLCFile::Close() {
    int result = 0;
    if (m_pFile && !m_bAssigned && std::fclose(m_pFile) != 0) result = 1;
    m_pFile = nullptr;
    m_bAssigned = 0;
    return result;
}

int CPLCFile::IsEOF() const {
    return (!m_pFile || std::feof(m_pFile)) ? 1 : 0;
}

int CPLCFile::Read(char* data, int n) {
    if (!data || n < 0 || !m_pFile) return -1;
    if (n == 0) return 0;
    return static_cast<int>(std::fread(data, 1, static_cast<size_t>(n), m_pFile));
}

int CPLCFile::Write(const char* data, int n) {
    if (!data || n < 0 || !m_pFile) return -1;
    if (n == 0) return 0;
    return static_cast<int>(std::fwrite(data, 1, static_cast<size_t>(n), m_pFile));
}

long CPLCFile::Tell() const {
    return m_pFile ? std::ftell(m_pFile) : -1L;
}

int CPLCFile::Tell(std::int64_t* pos) const {
    if (!pos || !m_pFile) return -1;
    off_t at = ftello(m_pFile);
    if (at < 0) return -1;
    *pos = static_cast<std::int64_t>(at);
    return 0;
}

int CPLCFile::Seek(const std::int64_t* pos) {
    if (!pos || !m_pFile || *pos < 0) return -1;
    return fseeko(m_pFile, static_cast<off_t>(*pos), SEEK_SET) == 0 ? 0 : -1;
}

int CPLCFile::Seek(long offset, ESeekType origin) {
    if (!m_pFile) return -1;
    return std::fseek(m_pFile, offset, static_cast<int>(origin)) == 0 ? 0 : -1;
}

#include "client/RecordReader.h"

#include <cstring>

CRecordReader::CRecordReader(const uint8_t* data, size_t size, size_t offset)
    : m_pData(data), m_nSize(size), m_nOffset(offset), m_bOk(data != nullptr && offset <= size) {}

bool CRecordReader::Bytes(void* out, size_t n) {
    if (!m_bOk || m_nSize - m_nOffset < n) {
        m_bOk = false;
        if (out && n) std::memset(out, 0, n);
        return false;
    }
    if (out && n) std::memcpy(out, m_pData + m_nOffset, n);
    m_nOffset += n;
    return true;
}

bool CRecordReader::Skip(size_t n) { return Bytes(nullptr, n); }

uint8_t CRecordReader::U8() {
    uint8_t b = 0;
    Bytes(&b, 1);
    return b;
}

uint16_t CRecordReader::U16() {
    uint8_t b[2];
    Bytes(b, 2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

uint32_t CRecordReader::U32() {
    uint8_t b[4];
    Bytes(b, 4);
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
           (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

float CRecordReader::F32() {
    uint32_t bits = U32();
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

std::string CRecordReader::TerminatedString() {
    if (!m_bOk) return std::string();
    const void* end = std::memchr(m_pData + m_nOffset, 0, m_nSize - m_nOffset);
    if (!end) {
        m_bOk = false;
        return std::string();
    }
    size_t n = static_cast<const uint8_t*>(end) - (m_pData + m_nOffset);
    std::string s(reinterpret_cast<const char*>(m_pData + m_nOffset), n);
    m_nOffset += n + 1;
    return s;
}

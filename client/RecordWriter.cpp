#include "client/RecordWriter.h"

#include <cstring>

CRecordWriter::CRecordWriter(uint8_t* buffer, size_t size)
    : m_pBuffer(buffer), m_nSize(buffer ? size : 0), m_nOffset(0), m_bOk(buffer != nullptr) {}

bool CRecordWriter::Reserve(size_t n) {
    if (!m_bOk || m_nSize - m_nOffset < n) {
        m_bOk = false;
        return false;
    }
    return true;
}

CRecordWriter& CRecordWriter::Bytes(const void* data, size_t n) {
    if (Reserve(n)) {
        if (n) std::memcpy(m_pBuffer + m_nOffset, data, n);
        m_nOffset += n;
    }
    return *this;
}

CRecordWriter& CRecordWriter::U8(uint8_t v) { return Bytes(&v, 1); }

CRecordWriter& CRecordWriter::U16(uint16_t v) {
    uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    return Bytes(b, 2);
}

CRecordWriter& CRecordWriter::U32(uint32_t v) {
    uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                    static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
    return Bytes(b, 4);
}

CRecordWriter& CRecordWriter::F32(float v) {
    uint32_t bits = 0;
    std::memcpy(&bits, &v, 4);
    return U32(bits);
}

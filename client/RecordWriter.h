// Bounded little-endian writer over a request record. A field that does not
// fit sets a sticky failure instead of writing past the buffer.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

class CRecordWriter {
public:
    CRecordWriter(uint8_t* buffer, size_t size);

    CRecordWriter& U8(uint8_t v);
    CRecordWriter& U16(uint16_t v);
    CRecordWriter& U32(uint32_t v);
    CRecordWriter& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
    CRecordWriter& F32(float v);
    CRecordWriter& Bytes(const void* data, size_t n);

    bool Ok() const { return m_bOk; }
    size_t Offset() const { return m_nOffset; }
    uint8_t* Data() const { return m_pBuffer; }

private:
    bool Reserve(size_t n);
    uint8_t* m_pBuffer;
    size_t m_nSize;
    size_t m_nOffset;
    bool m_bOk;
};

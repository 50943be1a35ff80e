// Bounded little-endian reader over a reply record. Reading past the end
// yields zeros and sets a sticky failure.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

class CRecordReader {
public:
    CRecordReader() : m_pData(nullptr), m_nSize(0), m_nOffset(0), m_bOk(false) {}
    CRecordReader(const uint8_t* data, size_t size, size_t offset = 0);

    uint8_t U8();
    uint16_t U16();
    int16_t I16() { return static_cast<int16_t>(U16()); }
    uint32_t U32();
    int32_t I32() { return static_cast<int32_t>(U32()); }
    float F32();
    bool Bytes(void* out, size_t n);
    bool Skip(size_t n);
    // Reads up to the next 0 byte (which is consumed); fails if none is left.
    std::string TerminatedString();

    bool Ok() const { return m_bOk; }
    size_t Offset() const { return m_nOffset; }
    size_t Remaining() const { return m_bOk ? m_nSize - m_nOffset : 0; }
    const uint8_t* Data() const { return m_pData; }
    size_t Size() const { return m_nSize; }

private:
    const uint8_t* m_pData;
    size_t m_nSize;
    size_t m_nOffset;
    bool m_bOk;
};

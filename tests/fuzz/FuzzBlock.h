// The fuzz targets' buffers: heap blocks of exactly their size, so that the
// sanitizer reports any byte read or written past them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

using Bytes = std::vector<uint8_t>;

// A heap block of exactly its size, never a null pointer (an empty block is
// a block of 0 bytes that the sanitizer guards like any other).
class CBlock {
public:
    explicit CBlock(size_t nSize) : m_bytes(new uint8_t[nSize]), m_nSize(nSize) {
        if (nSize) std::memset(m_bytes.get(), 0, nSize);
    }
    CBlock(const uint8_t* data, size_t size) : CBlock(size) {
        if (size) std::memcpy(m_bytes.get(), data, size);
    }
    uint8_t* Data() const { return m_bytes.get(); }
    size_t Size() const { return m_nSize; }
    uint8_t* End() const { return m_bytes.get() + m_nSize; }
    Bytes Copy() const { return Bytes(Data(), End()); }

private:
    std::unique_ptr<uint8_t[]> m_bytes;
    size_t m_nSize;
};

#include "locators/GrowArray.h"

#include <climits>
#include <new>

CGrowArray::CGrowArray(int nCapacity, int nGrowBy) : m_nCount(0), m_nCapacity(0), m_nGrowBy(nGrowBy > 0 ? nGrowBy : 1) {
    if (nCapacity > 0) {
        m_pData.reset(new (std::nothrow) ULONG_PTR[static_cast<size_t>(nCapacity)]);
        if (m_pData) m_nCapacity = nCapacity;
    }
}

CGrowArray::~CGrowArray() {}

int CGrowArray::Add(ULONG_PTR value) {
    if (m_nCount + 1 > m_nCapacity) {
        if (m_nCapacity > INT_MAX - m_nGrowBy) return -1;
        const int nNewCapacity = m_nCapacity + m_nGrowBy;
        std::unique_ptr<ULONG_PTR[]> pNew(new (std::nothrow) ULONG_PTR[static_cast<size_t>(nNewCapacity)]);
        if (!pNew) return -1;
        for (int i = 0; i < m_nCount; ++i) pNew[i] = m_pData[i];
        m_pData = std::move(pNew);
        m_nCapacity = nNewCapacity;
    }
    m_pData[m_nCount] = value;
    return m_nCount++;
}

ULONG_PTR CGrowArray::GetAt(int i) const { return (i >= 0 && i < m_nCount) ? m_pData[i] : 0; }

// A growable array of item handles, in the order they were added: the path
// search's list of candidate parents. It starts with a given capacity and
// grows by a fixed step; a failed growth leaves it as it was.
//
// The values are pointer-sized, so that a tree item handle keeps all its
// bits on a 64-bit build.
#pragma once
#include <windows.h>

#include <memory>

class CGrowArray {
public:
    CGrowArray(const CGrowArray&) = delete;
    CGrowArray& operator=(const CGrowArray&) = delete;
    CGrowArray(int nCapacity, int nGrowBy);
    virtual ~CGrowArray();

    // Index of the added value, or -1 when the array could not grow.
    int Add(ULONG_PTR value);
    int GetCount() const { return m_nCount; }
    int GetCapacity() const { return m_nCapacity; }
    // Value i; 0 for an index outside the array.
    ULONG_PTR GetAt(int i) const;

private:
    std::unique_ptr<ULONG_PTR[]> m_pData;
    int m_nCount;
    int m_nCapacity;
    int m_nGrowBy;
};

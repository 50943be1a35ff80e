// Element ids of a session.
#include "webdriver/ElementStore.h"

#include <cstdio>

namespace {
uint32_t StorePrefix() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<uint32_t>(now.QuadPart ^ (now.QuadPart >> 32)) ^ GetCurrentProcessId();
}
}  // namespace

CElementStore::CElementStore() : m_nNext(1), m_dwPrefix(StorePrefix()) {}

std::string CElementStore::KeyOf(const PageNode& node) {
    // An item is the same element while its control, kind, index and text
    // are; a window while its handle is.
    return node.runtimeId + "\n" + (node.kind ? node.name : std::string());
}

std::string CElementStore::Add(const PageNode& node) {
    const std::string key = KeyOf(node);
    PageNode kept = node;
    kept.parent = -1;
    kept.children.clear();
    auto known = m_ids.find(key);
    if (known != m_ids.end()) {
        m_elements[known->second] = std::move(kept);
        return known->second;
    }
    if (m_elements.size() >= kMaxElements) {
        m_elements.clear();
        m_ids.clear();
    }
    char szId[48];
    std::snprintf(szId, sizeof(szId), "%08X-%012llX", m_dwPrefix, static_cast<unsigned long long>(m_nNext++));
    m_ids.emplace(key, szId);
    m_elements.emplace(szId, std::move(kept));
    return szId;
}

bool CElementStore::Get(const std::string& id, PageNode* pNode) const {
    auto found = m_elements.find(id);
    if (found == m_elements.end()) return false;
    *pNode = found->second;
    return true;
}

void CElementStore::Update(const std::string& id, const PageNode& node) {
    auto found = m_elements.find(id);
    if (found == m_elements.end()) return;
    found->second = node;
    found->second.parent = -1;
    found->second.children.clear();
}

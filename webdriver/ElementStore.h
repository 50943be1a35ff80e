// The elements a session has handed out: each id stands for one node of a
// page source as it was found (its window, its item kind and the item's
// recorded form), so that later commands find the item again. The same
// element found twice gets the same id.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>

#include "webdriver/PageSource.h"

class CElementStore {
public:
    // More ids than this and the store starts afresh: ids handed out before
    // are then unknown ("no such element").
    static const size_t kMaxElements = 200000;

    CElementStore();
    CElementStore(const CElementStore&) = delete;
    CElementStore& operator=(const CElementStore&) = delete;

    // The id of the node's element (parent and children are not kept).
    std::string Add(const PageNode& node);
    // False when no element has the id.
    bool Get(const std::string& id, PageNode* pNode) const;
    // Keeps what a later command learnt about the element (its rectangle).
    void Update(const std::string& id, const PageNode& node);
    size_t Size() const { return m_elements.size(); }

private:
    static std::string KeyOf(const PageNode& node);

    std::unordered_map<std::string, PageNode> m_elements;  // by id
    std::unordered_map<std::string, std::string> m_ids;    // id by key
    uint64_t m_nNext;
    uint32_t m_dwPrefix;  // differs between stores, so ids of an ended session mean nothing in the next
};

// The registry of item kinds read by code (see ItemKinds.h).
#include "forms/ItemKinds.h"

#include <cstdlib>

#include <windows.h>

namespace {
const ItemKindInfo kKinds[] = {
#define VINTREL_KIND_INFO(code, Id, Locator, Fields, member, name, noun, classes, control, description) \
    {code, name, noun, classes, control, description},
    VINTREL_ITEM_KINDS(VINTREL_KIND_INFO)
#undef VINTREL_KIND_INFO
};
const size_t kKindCount = sizeof(kKinds) / sizeof(kKinds[0]);
}  // namespace

const ItemKindInfo* FindItemKind(int nCode) {
    for (const ItemKindInfo& kind : kKinds) {
        if (kind.nCode == nCode) return &kind;
    }
    return nullptr;
}

const ItemKindInfo* ParseItemKind(const std::string& text) {
    if (text.empty()) return nullptr;
    for (const ItemKindInfo& kind : kKinds) {
        if (lstrcmpiA(kind.pszName, text.c_str()) == 0) return &kind;
    }
    char* pEnd = nullptr;
    const long nCode = std::strtol(text.c_str(), &pEnd, 10);
    if (!pEnd || *pEnd != '\0') return nullptr;
    return FindItemKind(static_cast<int>(nCode));
}

const ItemKindInfo* AllItemKinds(size_t* pnCount) {
    if (pnCount) *pnCount = kKindCount;
    return kKinds;
}

const char* BaseItemDescription(int nCode) {
    const ItemKindInfo* pKind = FindItemKind(nCode);
    return pKind ? pKind->pszBaseDescription : nullptr;
}

const ItemKindInfo* FindItemKindOfClass(const char* pszClassName) {
    if (!pszClassName) return nullptr;
    for (const ItemKindInfo& kind : kKinds) {
        for (const char* pszClass = kind.pszClasses; *pszClass; pszClass = kind.NextClass(pszClass)) {
            if (lstrcmpiA(pszClass, pszClassName) == 0) return &kind;
        }
    }
    return nullptr;
}

std::string ItemKindName(int nCode) {
    const ItemKindInfo* pKind = FindItemKind(nCode);
    return pKind ? std::string(pKind->pszName) : std::to_string(nCode);
}

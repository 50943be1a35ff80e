// The locators' check of a control's class against its kind's row.
#include "locators/ControlClass.h"

#include <cctype>
#include <cstring>

#include "forms/ItemKinds.h"

namespace {
bool ContainsIgnoringCase(const char* pszText, const char* pszPart) {
    const size_t nPart = std::strlen(pszPart);
    const size_t nText = std::strlen(pszText);
    for (size_t i = 0; i + nPart <= nText; ++i) {
        size_t k = 0;
        while (k < nPart && std::tolower(static_cast<unsigned char>(pszText[i + k])) ==
                                std::tolower(static_cast<unsigned char>(pszPart[k]))) {
            ++k;
        }
        if (k == nPart) return true;
    }
    return false;
}
}  // namespace

bool IsControlOfKind(HWND hwnd, int nKind) {
    const ItemKindInfo* pKind = FindItemKind(nKind);
    char szClass[256] = {0};
    if (!pKind || !hwnd || !GetClassNameA(hwnd, szClass, sizeof(szClass))) return false;
    for (const char* pszClass = pKind->pszClasses; *pszClass; pszClass = pKind->NextClass(pszClass)) {
        if (ContainsIgnoringCase(szClass, pszClass)) return true;
    }
    return false;
}

#include "locators/ControlClass.h"

#include <cctype>
#include <cstring>

bool IsControlOfClass(HWND hwnd, const char* pszClassName) {
    char szClass[256] = {0};
    if (!hwnd || !GetClassNameA(hwnd, szClass, sizeof(szClass))) return false;
    const size_t nWanted = std::strlen(pszClassName);
    const size_t nClass = std::strlen(szClass);
    for (size_t i = 0; i + nWanted <= nClass; ++i) {
        size_t k = 0;
        while (k < nWanted && std::tolower(static_cast<unsigned char>(szClass[i + k])) ==
                                  std::tolower(static_cast<unsigned char>(pszClassName[k]))) {
            ++k;
        }
        if (k == nWanted) return true;
    }
    return false;
}

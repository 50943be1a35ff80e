// CreateItemLocator: the one place that knows every kind's class, from the
// registry of kinds.
#include <new>

#include "forms/ItemKinds.h"
#include "accessibility/AccessibleItemLocator.h"
#include "accessibility/ScrollingAccessibleItemLocator.h"
#include "locators/ItemLocator.h"
#include "locators/ListBoxItemLocator.h"
#include "locators/ListViewItemLocator.h"
#include "locators/MenuBarItemLocator.h"
#include "locators/PopupMenuItemLocator.h"
#include "locators/StatusBarItemLocator.h"
#include "locators/TabItemLocator.h"
#include "locators/ToolbarItemLocator.h"
#include "locators/TreeItemLocator.h"
#include "locators/UnbuiltItemLocator.h"

namespace {
// A kind whose constructor takes the factory's argument gives itself an
// overload of its own.
template <class TLocator>
CItemLocator* MakeLocator(DWORD) {
    return new (std::nothrow) TLocator();
}

// The popup menu's handle is the factory's argument (a user handle, which
// fits 32 bits).
template <>
CItemLocator* MakeLocator<CPopupMenuItemLocator>(DWORD dwParam) {
    return new (std::nothrow) CPopupMenuItemLocator(reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(dwParam)));
}
}  // namespace

CItemLocator* CreateItemLocator(int nKind, DWORD dwParam) {
    CItemLocator* pLocator = nullptr;
    switch (nKind) {
#define VINTREL_KIND_CASE(code, Id, Locator, ...) \
    case code: pLocator = MakeLocator<Locator>(dwParam); break;
        VINTREL_ITEM_KINDS(VINTREL_KIND_CASE)
#undef VINTREL_KIND_CASE
    default: return nullptr;
    }
    if (pLocator) pLocator->m_nKind = nKind;
    return pLocator;
}

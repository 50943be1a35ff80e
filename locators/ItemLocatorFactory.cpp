// CreateItemLocator: the one place that knows every kind's class.
#include <new>

#include "locators/ItemLocator.h"
#include "locators/ListViewItemLocator.h"
#include "locators/MenuBarItemLocator.h"
#include "locators/UnbuiltItemLocator.h"

CItemLocator* CreateItemLocator(int nKind, DWORD dwParam) {
    (void)dwParam;  // the popup menu's handle, for when that kind is searched
    CItemLocator* pLocator = NULL;
    switch (nKind) {
    case kItemKindMenuBar: pLocator = new (std::nothrow) CMenuBarItemLocator(); break;
    case kItemKindListView: pLocator = new (std::nothrow) CListViewItemLocator(); break;
    case kItemKindToolbar:
    case kItemKindPopupMenu:
    case kItemKindTree:
    case kItemKindListBox:
    case kItemKindTab:
    case kItemKindStatusBar:
    case kItemKindAccessible:
    case kItemKindScrollingAccessible: pLocator = new (std::nothrow) CUnbuiltItemLocator(); break;
    default: return NULL;
    }
    if (pLocator) pLocator->m_nKind = nKind;
    return pLocator;
}

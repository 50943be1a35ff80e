#include "client/TabItemForms.h"

LocatorForm TabItemForm(const std::string& text, int index, int image) {
    LocatorForm form;
    form.nKind = kItemKindTab;
    form.tab.mask = TabItemFields::kRecordedMask;
    form.tab.cchTextMax = TabItemFields::kRecordedTextSize;
    form.tab.iImage = image;
    form.tab.nIndex = index;
    form.tab.text = text;
    // The text flag tells a control with tab texts; FindItem asks the live
    // control again, so it only informs whoever reads the form.
    form.dwFlags = text.empty() ? 0 : TabItemFields::kHasTextFlag;
    return form;
}

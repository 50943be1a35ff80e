#include "client/LocatorForm.h"

#include <utility>

#include "forms/FormTransfer.h"

namespace {
ItemFormBase& BaseOf(LocatorForm& form) { return form; }
const ItemFormBase& BaseOf(const LocatorForm& form) { return form; }

// The form of kind `kind` in `form`: the base, then that kind's fields.
template <class TIo, class TForm>
bool TransferKind(int kind, TIo& io, TForm& form) {
    if (!ItemFormBase::Transfer(io, BaseOf(form))) return false;
    switch (kind) {
#define VINTREL_FORM_CASE(code, Id, Locator, Fields, member, ...) \
    case code: return Fields::Transfer(io, form.member);
        VINTREL_ITEM_KINDS(VINTREL_FORM_CASE)
#undef VINTREL_FORM_CASE
    }
    return false;
}
}  // namespace

std::string LocatorForm::Text() const {
    switch (nKind) {
#define VINTREL_FORM_TEXT(code, Id, Locator, Fields, member, ...) \
    case code: return member.DisplayText();
        VINTREL_ITEM_KINDS(VINTREL_FORM_TEXT)
#undef VINTREL_FORM_TEXT
    }
    return std::string();
}

std::string LocatorForm::Description() const {
    std::string description;
    switch (nKind) {
#define VINTREL_FORM_DESCRIPTION(code, Id, Locator, Fields, member, ...) \
    case code: description = member.Description(); break;
        VINTREL_ITEM_KINDS(VINTREL_FORM_DESCRIPTION)
#undef VINTREL_FORM_DESCRIPTION
    }
    const char* pszBase = BaseItemDescription(nKind);
    return description.empty() && pszBase ? std::string(pszBase) : description;
}

bool DecodeLocatorForm(int kind, CWireCursor& cursor, LocatorForm* out) {
    if (!FindItemKind(kind) || !out) return false;
    LocatorForm form;
    form.nKind = kind;
    CFormReader reader(cursor);
    if (!TransferKind(kind, reader, form) || !cursor.Ok()) return false;
    *out = std::move(form);
    return true;
}

bool EncodeLocatorForm(const LocatorForm& form, CWireCursor& cursor) {
    if (!FindItemKind(form.nKind)) return false;
    CFormWriter writer(cursor);
    return TransferKind(form.nKind, writer, form) && cursor.Ok();
}

size_t EncodedLocatorFormSize(const LocatorForm& form) {
    if (!FindItemKind(form.nKind)) return 0;
    CFormSizer sizer;
    TransferKind(form.nKind, sizer, form);
    return static_cast<size_t>(sizer.Size());
}

LocatorForm ListViewItemForm(const std::string& text, int index, int image) {
    KnownItem known;
    known.text = text;
    known.index = index;
    known.image = image;
    LocatorForm form;
    FormFromKnown(kItemKindListView, known, &form);
    return form;
}

LocatorForm MenuBarItemForm(int position, const std::string& text) {
    KnownItem known;
    known.position = position;
    known.text = text;
    LocatorForm form;
    FormFromKnown(kItemKindMenuBar, known, &form);
    return form;
}

bool FormFromKnown(int kind, const KnownItem& known, LocatorForm* form) {
    *form = LocatorForm();
    form->nKind = kind;
    switch (kind) {
#define VINTREL_FORM_FROM_KNOWN(code, Id, Locator, Fields, member, ...) \
    case code: return Fields::FromKnown(known, form->member);
        VINTREL_ITEM_KINDS(VINTREL_FORM_FROM_KNOWN)
#undef VINTREL_FORM_FROM_KNOWN
    default: return false;
    }
}

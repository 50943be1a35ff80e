// Controller-side view of an item locator's serialised form: the base
// fields, the kind, and for each kind of the registry its own fields (only
// the member of nKind is meaningful). The bytes are the ones the forms in
// forms/ state once for the agent and the controller alike.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

#include "forms/ItemKinds.h"
#include "forms/KnownItem.h"
#include "forms/WireCursor.h"

struct LocatorForm : ItemFormBase {
    int nKind = 0;
    // menuBar, toolbar, popupMenu, listView, tree, listBox, tab, statusBar,
    // accessible, scrollingAccessible.
#define VINTREL_FORM_MEMBER(code, Id, Locator, Fields, member, ...) Fields member;
    VINTREL_ITEM_KINDS(VINTREL_FORM_MEMBER)
#undef VINTREL_FORM_MEMBER

    // The item's text as its kind shows it (empty for kinds without one).
    std::string Text() const;
    // The item in words, as the agent describes it ("the 'Item 0003' list
    // item", "a toolbar item"; empty for a kind that describes nothing).
    std::string Description() const;
};

// Forms made from what a controller knows about an item, without a
// recording: a list-view item by text, index and image (text, image, lParam
// and state asked for, the usual 256-character text buffer), a menu-bar item
// by position (its text is for display only).
LocatorForm ListViewItemForm(const std::string& text, int index, int image);
LocatorForm MenuBarItemForm(int position, const std::string& text);
// The form of a kind made from what a person knows of the item (the kind's
// Fields::FromKnown); false for a code that is no kind or a kind that is
// found from its recording only. form->nKind is kind either way.
bool FormFromKnown(int kind, const KnownItem& known, LocatorForm* form);

// Reads one form of the given kind at the cursor and moves past exactly the
// bytes the agent's ReadData would consume. False for a code that is no kind
// or when the form runs past the cursor's end.
bool DecodeLocatorForm(int kind, CWireCursor& cursor, LocatorForm* out);
// Writes the form of form.nKind; false for a code that is no kind or when it
// does not fit.
bool EncodeLocatorForm(const LocatorForm& form, CWireCursor& cursor);
// Bytes EncodeLocatorForm writes for the form (0 for a code that is no kind).
size_t EncodedLocatorFormSize(const LocatorForm& form);

// Writes valid inputs for every fuzz target, made by the forms' own writers:
//   fuzz_seeds DIR   ->  DIR/<target>/<name>
// Besides the current forms: text fields in every layout a reader takes
// (marked ANSI, bare ANSI, UTF-16, double-byte text) and the list-box item's
// older form.
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "client/LocatorForm.h"
#include "client/WindowDescriptionReader.h"
#include "forms/DataMessageRequestForm.h"
#include "forms/FormTransfer.h"
#include "forms/InfoProbeRequestForm.h"
#include "forms/ItemKinds.h"
#include "forms/ItemListForm.h"
#include "forms/ItemRectRequestForm.h"
#include "forms/LocateItemRequestForm.h"
#include "forms/WindowDescriptionForm.h"

namespace {
using Bytes = std::vector<uint8_t>;
std::string g_root;
int g_written = 0;

Bytes Written(const std::function<void(CWireCursor&)>& write) {
    Bytes bytes(1 << 16, 0);
    CWireCursor cursor(bytes.data(), bytes.data() + bytes.size());
    write(cursor);
    if (!cursor.Ok()) {
        std::fprintf(stderr, "fuzz_seeds: a seed did not fit\n");
        std::exit(1);
    }
    bytes.resize(cursor.Offset());
    return bytes;
}

void Save(const std::string& target, const std::string& name, const Bytes& bytes) {
    const std::string folder = g_root + "/" + target;
    mkdir(folder.c_str(), 0755);
    FILE* file = std::fopen((folder + "/" + name).c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        std::fprintf(stderr, "fuzz_seeds: cannot write %s/%s\n", folder.c_str(), name.c_str());
        std::exit(1);
    }
    std::fclose(file);
    ++g_written;
}

template <class TForm>
Bytes FormBytes(const TForm& form) {
    return Written([&](CWireCursor& c) { WriteForm(c, form); });
}

// A seed that its reader refuses is a mistake here.
void MustDecode(bool bDecoded, const std::string& name) {
    if (bDecoded) return;
    std::fprintf(stderr, "fuzz_seeds: the seed %s does not read back\n", name.c_str());
    std::exit(1);
}

bool DecodesAs(int kind, const Bytes& bytes) {
    CWireCursor cursor(bytes.data(), bytes.data() + bytes.size());
    LocatorForm form;
    return DecodeLocatorForm(kind, cursor, &form) && cursor.Remaining() == 0;
}

Bytes Cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A text field in another layout than the writers' marked ANSI.
Bytes BareAnsiField(const std::string& text, bool bTerminated) {
    Bytes b = Written([&](CWireCursor& c) { c.WriteU32(static_cast<uint32_t>(text.size())); });
    b.insert(b.end(), text.begin(), text.end());
    if (bTerminated) b.push_back(0);
    return b;
}
Bytes Utf16Field(const std::u16string& text, bool bTerminated) {
    Bytes b = Written([&](CWireCursor& c) {
        c.WriteU32(static_cast<uint32_t>(text.size())).WriteU8(0).WriteU8(0);  // marker 00, then not 01
        for (char16_t u : text) c.WriteU16(static_cast<uint16_t>(u));
    });
    if (bTerminated) b.push_back(0);
    return b;
}

const std::string kDoubleByte = "\x82\xa0\x82\xa2 \x88\xea";  // two lead-trail pairs, a blank, one more pair

LocatorForm Sample(int kind, int variant) {
    LocatorForm f;
    f.nKind = kind;
    f.rect = {10, 20, 110, 40};
    f.dwFlags = variant ? 0x00030001u : 1u;
    f.bSelected = static_cast<uint8_t>(variant & 1);
    const std::string text = variant == 0 ? "" : variant == 1 ? "Item 0005" : kDoubleByte;
    f.menuBar = {2, text};
    f.toolbar.iBitmap = 3;
    f.toolbar.idCommand = 40001;
    f.toolbar.iString = -1;
    f.toolbar.fsState = 4;
    f.popupMenu.nItemId = 40002;
    f.popupMenu.bUseMenuBar = static_cast<uint8_t>(variant == 2);
    f.popupMenu.name = text;
    for (int i = 0; i < variant; ++i) f.popupMenu.path.push_back({static_cast<uint32_t>(i), 0x00010040u + i});
    f.listView = ListViewItemForm(text, 5, 1).listView;
    f.tree.text = text;
    f.tree.hItem = 0x12345678;
    f.tree.cChildren = 1;
    for (int i = 0; i < variant; ++i) f.tree.path.push_back({"Folder " + std::to_string(i), i});
    f.listBox.nIndex = 7;
    f.listBox.text = text;
    f.tab.nIndex = 1;
    f.tab.text = text;
    f.tab.mask = TabItemFields::kRecordedMask;
    f.statusBar.nIndex = 0;
    f.statusBar.text = text;
    f.accessible.name = text;
    f.accessible.role = variant ? "list item" : "";
    f.accessible.description = "";
    f.accessible.nVersion = variant;  // versions 0, 1 and 2
    f.accessible.value = variant == 2 ? "42" : "";
    f.accessible.nLevel = 3;
    f.accessible.nRoleIndex = variant == 2 ? 4 : -1;
    static_cast<AccessibleItemFields&>(f.scrollingAccessible) = f.accessible;
    f.scrollingAccessible.nWindowSignature = 12;
    return f;
}

Bytes Encoded(const LocatorForm& form) {
    return Written([&](CWireCursor& c) { EncodeLocatorForm(form, c); });
}

std::string TargetOf(int kind) {
    std::string name = ItemKindName(kind);
    for (char& ch : name) {
        if (ch == '-') ch = '_';
    }
    return "item_" + name;
}

void ItemSeeds() {
    size_t count = 0;
    const ItemKindInfo* kinds = AllItemKinds(&count);
    for (size_t k = 0; k < count; ++k) {
        const int kind = kinds[k].nCode;
        for (int variant = 0; variant < 3; ++variant) {
            const Bytes form = Encoded(Sample(kind, variant));
            MustDecode(DecodesAs(kind, form), ItemKindName(kind));
            Save(TargetOf(kind), "form-" + std::to_string(variant), form);
            Save("agent_locator", ItemKindName(kind) + "-" + std::to_string(variant),
                 Cat(Bytes{static_cast<uint8_t>(k)}, form));
        }
    }
    // Texts in the other layouts: a list-view item with a UTF-16 text, a
    // menu-bar item with a bare ANSI text.
    LocatorForm listView = Sample(kItemKindListView, 1);
    listView.listView.text.clear();
    Bytes lv = Encoded(listView);
    lv.resize(lv.size() - 4);
    lv = Cat(lv, Utf16Field(u"Item \u65e5\u672c \uff71", true));
    MustDecode(DecodesAs(kItemKindListView, lv), "utf16-text");
    Save("item_listview", "utf16-text", lv);
    LocatorForm menu = Sample(kItemKindMenuBar, 0);
    Bytes mb = Encoded(menu);
    mb.resize(mb.size() - 4);
    mb = Cat(mb, BareAnsiField("&File", true));
    MustDecode(DecodesAs(kItemKindMenuBar, mb), "bare-ansi-text");
    Save("item_menubar", "bare-ansi-text", mb);
    // The list-box item's older form: marker = text length (bit 31 clear),
    // the index, then the text's body without its length word.
    const std::string older = "Older item";
    Bytes lb = Written([&](CWireCursor& c) {
        WriteForm(c, ItemFormBase());
        c.WriteU32(static_cast<uint32_t>(older.size())).WriteI32(3).WriteU8(0).WriteU8(1);
        c.WriteBytes(older.data(), older.size()).WriteU8(0);
    });
    MustDecode(DecodesAs(kItemKindListBox, lb), "older-form");
    Save("item_listbox", "older-form", lb);
    Save("item_statusbar", "older-form", lb);
}

WindowDescriptionForm Description(bool bFrame, bool bExtra, int itemKind) {
    WindowDescriptionForm d;
    d.window.dwStyle = 0x50010000u;
    d.window.dwExStyle = 0x200;
    d.window.nId = 1001;
    d.window.bNoFrame = bFrame ? 0 : 1;
    d.window.nDescendants = 2;
    d.window.rcWindow = {4, 42, 604, 492};
    d.window.className = "SysListView32";
    d.window.parentClassName = "VintrelSampleFrame";
    d.frame.className = "VintrelSampleFrame";
    d.frame.dwStyle = 0x14CF0000u;
    d.frame.bNoFrame = 1;
    d.nDepth = 1;
    d.modulePath = "C:\\vintrel\\VintrelSample.exe";
    d.bHasExtraText = bExtra ? 1 : 0;
    d.extraText = bExtra ? "Vintrel Sample " + kDoubleByte : "";
    d.nTitleChecksum = -12345;
    if (itemKind) {
        d.dwFlags = WindowDescriptionHead::kItemAttachedFlag;
        d.nItemKind = itemKind;
        d.item = Sample(itemKind, 1);
    }
    return d;
}

void DescriptionSeeds() {
    size_t count = 0;
    const ItemKindInfo* kinds = AllItemKinds(&count);
    Save("window_description", "no-item", Written([&](CWireCursor& c) {
             const WindowDescriptionForm d = Description(true, false, 0);
             WriteForm(c, static_cast<const WindowDescriptionHead&>(d));
             WriteForm(c, static_cast<const WindowDescriptionTail&>(d));
         }));
    for (size_t k = 0; k < count; ++k) {
        const WindowDescriptionForm d = Description(k % 2 == 0, k % 3 == 0, kinds[k].nCode);
        const Bytes bytes = Written([&](CWireCursor& c) {
            WriteForm(c, static_cast<const WindowDescriptionHead&>(d));
            c.WriteU32(static_cast<uint32_t>(d.nItemKind));
            EncodeLocatorForm(d.item, c);
            WriteForm(c, static_cast<const WindowDescriptionTail&>(d));
        });
        WindowDescriptionForm decoded;
        MustDecode(DecodeWindowDescription(bytes, &decoded), "description");
        Save("window_description", "item-" + ItemKindName(kinds[k].nCode), bytes);
    }
}

void TextSeeds() {
    for (int terminated = 0; terminated < 2; ++terminated) {
        const TextField variant = terminated ? TextField::Terminated : TextField::Plain;
        const std::string t = std::to_string(terminated);
        auto head = [&](uint8_t nDest) { return Bytes{static_cast<uint8_t>(terminated), nDest}; };
        Save("text_field_codec", "empty-" + t, Cat(head(0), Written([&](CWireCursor& c) { c.WriteText("", 0, variant); })));
        Save("text_field_codec", "marked-" + t, Cat(head(0), Written([&](CWireCursor& c) { c.WriteText(std::string("Item 0005"), variant); })));
        Save("text_field_codec", "double-byte-cut-" + t,
             Cat(head(4), Written([&](CWireCursor& c) { c.WriteText(kDoubleByte, variant); })));
        Save("text_field_codec", "bare-" + t, Cat(head(6), BareAnsiField("Bare text", terminated)));
        Save("text_field_codec", "utf16-" + t, Cat(head(0), Utf16Field(u"\u65e5\u672c\u8a9e text", terminated)));
    }
}

void CursorSeeds() {
    // Operation codes: see wire_cursor_fuzz.cpp (0 u8, 1 u16, 2 u32, 3 f32,
    // 4 text, 5 terminated text, 6/7 cut texts, 8 skip, 9 bytes, 10 peek).
    const Bytes ops = {9, 0x00, 0x01, 0x02, 0x03, 0x0A, 0x04, 0x05, 0x36, 0x27, 0x48};
    Save("wire_cursor", "every-field", Cat(ops, Written([&](CWireCursor& c) {
                                               c.WriteU8(7).WriteU16(0x1234).WriteU32(0xDEADBEEF).WriteF32(100.0f);
                                               c.WriteText(std::string("plain"), TextField::Plain);
                                               c.WriteText(kDoubleByte, TextField::Terminated);
                                           })));
    Save("wire_cursor", "utf16-and-bare", Cat(Bytes{4, 0x04, 0x05, 0x9A, 0x38}, Cat(Utf16Field(u"wide \u65e5", false),
                                                                                  Cat(BareAnsiField("bare", true),
                                                                                      Bytes(12, 0x41)))));
}

// The item rectangle, info probe and data message requests and replies.
void RequestSeeds() {
    ItemRectRequestForm rectRequest;
    rectRequest.nKind = kItemKindListView;
    rectRequest.point = {300, 200};
    Save("item_rect_request", "list-view", FormBytes(rectRequest));
    rectRequest.nKind = kItemKindPopupMenu;
    rectRequest.nFactoryArgument = 0x000A0B0C;
    Save("item_rect_request", "popup", FormBytes(rectRequest));
    ItemRectReplyForm rectReply;
    Save("item_rect_reply", "nothing", FormBytes(rectReply));
    rectReply.nIndex = 5;
    rectReply.rect = {10, 20, 110, 40};
    Save("item_rect_reply", "item", FormBytes(rectReply));

    InfoProbeRequestForm probe;
    Save("info_probe_request", "window", FormBytes(probe));
    probe.nItemWanted = 1;
    probe.nKind = kItemKindTree;
    probe.nIndex = 0x12345678;
    Save("info_probe_request", "tree-item", FormBytes(probe));
    probe.nKind = -1;
    Save("info_probe_request", "no-kind", FormBytes(probe));

    DataMessageRequestForm message;
    message.p1 = 0x1000;
    message.p2 = 7;
    message.p3 = DataMessageRequestForm::kBufferInLParam;
    message.nCommand = 2;
    Save("data_message_request", "command", FormBytes(message));
    message.nCommand = -1;
    Save("data_message_request", "no-command", FormBytes(message));
    DataPairReplyForm pair;
    pair.first = -1;
    pair.second = 42;
    Save("data_pair_reply", "pair", FormBytes(pair));
    DataRectReplyForm rect;
    rect.rect = {-5, 0, 640, 480};
    Save("data_rect_reply", "rect", FormBytes(rect));
}

// Whole locate requests: head, the kind's form, tail; and a code that is no
// kind, sent bare.
void LocateSeeds() {
    size_t count = 0;
    const ItemKindInfo* kinds = AllItemKinds(&count);
    for (size_t k = 0; k < count; ++k) {
        LocateItemRequestHead head;
        head.nKind = static_cast<int16_t>(kinds[k].nCode);
        head.nFactoryArgument = kinds[k].nCode == kItemKindPopupMenu ? 0x000A0B0Cu : 0u;
        LocateItemRequestTail tail;
        tail.dwSearchArgument = static_cast<uint32_t>(k % 3);
        const Bytes bytes = Cat(Cat(FormBytes(head), Encoded(Sample(kinds[k].nCode, static_cast<int>(k % 3)))),
                                FormBytes(tail));
        CWireCursor check(bytes.data(), bytes.data() + bytes.size());
        LocateItemRequestHead readHead;
        LocatorForm form;
        LocateItemRequestTail readTail;
        MustDecode(ReadForm(check, readHead) && DecodeLocatorForm(readHead.nKind, check, &form) &&
                       ReadForm(check, readTail) && check.Remaining() == 0,
                   "locate-" + ItemKindName(kinds[k].nCode));
        Save("locate_item_request", ItemKindName(kinds[k].nCode), bytes);
    }
    LocateItemRequestHead bare;
    bare.nKind = -1;
    Save("locate_item_request", "no-kind", Cat(FormBytes(bare), FormBytes(LocateItemRequestTail())));
}

ItemListEntry Entry(int kind, int i) {
    ItemListEntry entry;
    entry.nIndex = i;
    entry.nLeft = 0;
    entry.nTop = 18 * i;
    entry.nRight = 200;
    entry.nBottom = 18 * (i + 1);
    entry.dwFlags = ItemListEntry::kVisible | ItemListEntry::kEnabled | (i == 1 ? ItemListEntry::kSelected : 0);
    entry.nLevel = i % 2;
    entry.nParent = i % 2 ? i - 1 : -1;
    entry.nId = 40001 + i;
    entry.nChildCount = i % 2 ? 0 : 1;
    entry.text = i == 2 ? kDoubleByte : "Item " + std::to_string(i);
    if (kind == kItemKindListView) entry.extraTexts = {"column 1", ""};
    if (kind == kItemKindAccessible || kind == kItemKindScrollingAccessible) entry.extraTexts = {"list item", "42"};
    const Bytes form = Encoded(Sample(kind, i % 3));
    entry.form.assign(form.begin(), form.end());
    return entry;
}

// The item listing: request, reply head, entry, and whole pages of every
// kind (the page target's first byte picks the kind).
void ItemListSeeds() {
    ItemListRequest request;
    request.nKind = kItemKindTree;
    request.nBudget = 4096;
    request.dwFlags = ItemListRequest::kAllNodesFlag;
    Save("item_list_request", "tree", FormBytes(request));
    request.nKind = kItemKindAccessible;
    request.nFirst = 12;
    request.dwFlags = 0;
    Save("item_list_request", "accessible", FormBytes(request));

    ItemListReplyHead head;
    Save("item_list_reply_head", "not-served", FormBytes(head));
    head.bServed = 1;
    head.nTotal = 3;
    head.nCount = 3;
    head.nNext = 3;
    Save("item_list_reply_head", "served", FormBytes(head));

    size_t count = 0;
    const ItemKindInfo* kinds = AllItemKinds(&count);
    for (size_t k = 0; k < count; ++k) {
        const int kind = kinds[k].nCode;
        Save("item_list_entry", ItemKindName(kind), FormBytes(Entry(kind, static_cast<int>(k % 3))));
        Bytes page = Bytes{static_cast<uint8_t>(k)};
        page = Cat(page, FormBytes(head));
        for (int i = 0; i < 3; ++i) {
            page = Cat(page, Written([&](CWireCursor& c) { WriteItemListEntry(c, Entry(kind, i)); }));
        }
        CWireCursor check(page.data() + 1, page.data() + page.size());
        ItemListReplyHead readHead;
        bool bRead = ReadForm(check, readHead);
        for (uint32_t i = 0; bRead && i < readHead.nCount; ++i) {
            ItemListEntry entry;
            bRead = ReadItemListEntry(check, entry) &&
                    DecodesAs(kind, Bytes(entry.form.begin(), entry.form.end()));
        }
        MustDecode(bRead && check.Remaining() == 0, "page-" + ItemKindName(kind));
        Save("item_list_page", ItemKindName(kind), page);
    }
    Save("item_list_page", "not-served", Cat(Bytes{0}, FormBytes(ItemListReplyHead())));
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds DIR\n");
        return 2;
    }
    g_root = argv[1];
    mkdir(g_root.c_str(), 0755);
    ItemSeeds();
    DescriptionSeeds();
    TextSeeds();
    CursorSeeds();
    RequestSeeds();
    LocateSeeds();
    ItemListSeeds();
    std::printf("fuzz_seeds: %d seeds in %s\n", g_written, g_root.c_str());
    return 0;
}

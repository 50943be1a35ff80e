// Fuzz target for a whole page of the "TavmorItemList" reply as the
// controller reads it: a byte that picks the kind, then the reply's head and
// its entries, each entry's recorded form decoded as a form of that kind and
// required to fill its bytes (what TakeSnapshotEntry does; client/
// ItemSnapshot.cpp itself needs the agent client and does not build here).
//
// Checked: the reading stops at the first entry that cannot be read and
// never reads past the page; the entries read are written back with their
// size fields into exactly their stated sizes, and reading that page again
// gives the same entries and the same bytes.
#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "client/LocatorForm.h"
#include "forms/ItemKinds.h"
#include "forms/ItemListForm.h"

namespace {
struct Page {
    ItemListReplyHead head;
    std::vector<ItemListEntry> entries;
};

// Reads the head and as many entries as read whole (the count the head
// states at most); false when the head cannot be read.
bool ReadPage(CWireCursor& cursor, int nKind, Page& page) {
    if (!ReadForm(cursor, page.head)) return false;
    if (!page.head.bServed) return true;
    ItemListEntry entry;
    for (uint32_t i = 0; i < page.head.nCount; ++i) {
        if (!ReadItemListEntry(cursor, entry)) break;
        const BYTE* pForm = reinterpret_cast<const BYTE*>(entry.form.data());
        CWireCursor form(pForm, pForm + entry.form.size());
        LocatorForm decoded;
        if (!DecodeLocatorForm(nKind, form, &decoded) || form.Remaining() != 0) break;
        FUZZ_REQUIRE(decoded.nKind == nKind);
        page.entries.push_back(entry);
    }
    return true;
}

uint64_t PageSize(const Page& page) {
    uint64_t nSize = FormSize(page.head);
    for (const ItemListEntry& entry : page.entries) nSize += ItemListEntrySize(entry);
    return nSize;
}

bool WritePage(CWireCursor& cursor, const Page& page) {
    if (!WriteForm(cursor, page.head)) return false;
    for (const ItemListEntry& entry : page.entries) {
        if (!WriteItemListEntry(cursor, entry)) return false;
    }
    return cursor.Ok();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    size_t nKinds = 0;
    const ItemKindInfo* kinds = AllItemKinds(&nKinds);
    const int nKind = kinds[data[0] % nKinds].nCode;
    const CBlock input = CopyOf(data + 1, size - 1);
    CWireCursor cursor = ReadCursor(input);
    Page page;
    if (!ReadPage(cursor, nKind, page)) {
        FUZZ_REQUIRE(!cursor.Ok());
        return 0;
    }
    FUZZ_REQUIRE(cursor.Offset() <= input.Size());
    FUZZ_REQUIRE(page.entries.size() <= page.head.nCount);

    // Written back with the count of the entries that were read.
    page.head.nCount = static_cast<uint32_t>(page.entries.size());
    auto write = [](const Page& p) { return [&p](CWireCursor& c) { return WritePage(c, p); }; };
    const Bytes first = WriteExactly(PageSize(page), write(page));
    RequireRefusedWhenShort(first.size(), write(page));

    const CBlock firstBlock(first.data(), first.size());
    CWireCursor again = ReadCursor(firstBlock);
    Page second;
    FUZZ_REQUIRE(ReadPage(again, nKind, second));
    FUZZ_REQUIRE(again.Offset() == first.size());
    FUZZ_REQUIRE(second.entries.size() == page.entries.size());
    const Bytes rewritten = WriteExactly(PageSize(second), write(second));
    FUZZ_REQUIRE(rewritten == first);
    return 0;
}

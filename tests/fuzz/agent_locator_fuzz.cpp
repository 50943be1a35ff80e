// Fuzz target for the agent's side of a locator's form: the base locator's
// bounded reading and writing (SetDataLimit, ReadFormAt, WriteFormAt) that
// every kind's ReadData and WriteData go through, for the form of every
// kind. Input: a byte that picks the kind, then the record.
//
// Checked: a form that does not fit the limit marks the overrun and leaves
// the cursor; one that fits moves it by exactly the form; the written form
// fits the size the locator declares, a limit one byte short refuses it
// whole, and reading the writing gives the same form.
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "forms/ItemKinds.h"
#include "locators/ItemLocator.h"

namespace {
// A locator whose form is one kind's, read and written as each kind's own
// locator does it.
template <class TFields>
class CFormLocator : public CItemLocator {
public:
    using Form = TItemForm<TFields>;

    void ReadData(BYTE*& pCursor) override {
        Form form;
        if (!ReadFormAt(pCursor, form)) return;
        SetBaseForm(form.base);
        m_fields = form.fields;
    }
    void WriteData(BYTE*& pCursor) override { WriteFormAt(pCursor, MakeForm()); }
    int GetDataSize() override { return static_cast<int>(FormSize(MakeForm(), true)); }

    HWND LoadItem(HWND, int) override { return nullptr; }
    RECT ItemFromPoint(HWND, int, int, int* pnIndex) override {
        if (pnIndex) *pnIndex = -1;
        return m_rect;
    }
    bool FindItem(HWND, DWORD) override { return false; }

    Form MakeForm() const {
        Form form;
        form.base = GetBaseForm();
        form.fields = m_fields;
        return form;
    }

private:
    TFields m_fields;
};

template <class TFields>
void RequireLocatorRoundTrip(int nKind, const uint8_t* data, size_t size) {
    const CBlock record = CopyOf(data, size);
    CFormLocator<TFields> locator;
    locator.m_nKind = nKind;

    // Without a limit, a read is refused.
    BYTE* pCursor = record.Data();
    locator.ReadData(pCursor);
    FUZZ_REQUIRE(locator.HasDataOverrun() && pCursor == record.Data());

    locator.SetDataLimit(record.End());
    FUZZ_REQUIRE(!locator.HasDataOverrun());
    locator.ReadData(pCursor);
    CWireCursor cursor = ReadCursor(record);
    typename CFormLocator<TFields>::Form form;
    const bool bFits = ReadForm(cursor, form);
    FUZZ_REQUIRE(locator.HasDataOverrun() == !bFits);
    if (!bFits) {
        FUZZ_REQUIRE(pCursor == record.Data());
        return;
    }
    FUZZ_REQUIRE(pCursor == record.Data() + cursor.Offset());
    locator.SetDataLimit(nullptr);
    FUZZ_REQUIRE(locator.GetDescription() != nullptr);
    locator.SetTag(static_cast<BYTE>(data[0]));

    // Written unbounded into the declared size, which holds the form.
    const int nDeclared = locator.GetDataSize();
    const uint64_t nExact = FormSize(locator.MakeForm());
    FUZZ_REQUIRE(nDeclared >= 0 && static_cast<uint64_t>(nDeclared) >= nExact);
    const CBlock declared(static_cast<size_t>(nDeclared));
    BYTE* pOut = declared.Data();
    locator.WriteData(pOut);
    FUZZ_REQUIRE(!locator.HasDataOverrun() && pOut == declared.Data() + nExact);

    // Bounded: exactly its size is enough, one byte less refuses it whole.
    const CBlock exact(static_cast<size_t>(nExact));
    locator.SetDataLimit(exact.End());
    pOut = exact.Data();
    locator.WriteData(pOut);
    FUZZ_REQUIRE(!locator.HasDataOverrun() && pOut == exact.End());
    FUZZ_REQUIRE(std::memcmp(exact.Data(), declared.Data(), exact.Size()) == 0);
    const CBlock small(static_cast<size_t>(nExact - 1));
    locator.SetDataLimit(small.End());
    pOut = small.Data();
    locator.WriteData(pOut);
    FUZZ_REQUIRE(locator.HasDataOverrun() && pOut == small.Data());

    // Read back by another locator, it writes the same bytes.
    CFormLocator<TFields> again;
    again.SetDataLimit(exact.End());
    BYTE* pAgain = exact.Data();
    again.ReadData(pAgain);
    FUZZ_REQUIRE(!again.HasDataOverrun() && pAgain == exact.End());
    FUZZ_REQUIRE(FormSize(again.MakeForm()) == nExact);
    const CBlock rewritten(static_cast<size_t>(nExact));
    again.SetDataLimit(rewritten.End());
    pAgain = rewritten.Data();
    again.WriteData(pAgain);
    FUZZ_REQUIRE(!again.HasDataOverrun());
    FUZZ_REQUIRE(std::memcmp(rewritten.Data(), exact.Data(), exact.Size()) == 0);
}

using RoundTrip = void (*)(int, const uint8_t*, size_t);
struct Kind {
    int nCode;
    RoundTrip run;
};
const Kind kKinds[] = {
#define FUZZ_KIND_ROW(code, Id, Locator, Fields, ...) {code, &RequireLocatorRoundTrip<Fields>},
    VINTREL_ITEM_KINDS(FUZZ_KIND_ROW)
#undef FUZZ_KIND_ROW
    {0, &RequireLocatorRoundTrip<NoItemFields>},  // the base form alone
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const Kind& kind = kKinds[data[0] % (sizeof(kKinds) / sizeof(kKinds[0]))];
    kind.run(kind.nCode, data + 1, size - 1);
    return 0;
}

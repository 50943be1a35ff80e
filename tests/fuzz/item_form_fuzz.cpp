// Fuzz target for one item kind's form (FUZZ_ITEM_KIND, its wire code): the
// form's own reader and the controller's decoder of the kind read the same
// bytes, agree on what they took, and write back the same form.
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "client/LocatorForm.h"
#include "forms/ItemKinds.h"

namespace {
template <int nCode>
struct KindFields;
#define FUZZ_KIND_FIELDS(code, Id, Locator, Fields, ...) \
    template <>                                                       \
    struct KindFields<code> {                                         \
        using Type = Fields;                                          \
    };
VINTREL_ITEM_KINDS(FUZZ_KIND_FIELDS)
#undef FUZZ_KIND_FIELDS

using Form = TItemForm<KindFields<FUZZ_ITEM_KIND>::Type>;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RequireFormRoundTrip<Form>(data, size);

    const CBlock input = CopyOf(data, size);
    CWireCursor own = ReadCursor(input);
    Form form;
    const bool bOwn = ReadForm(own, form);
    CWireCursor controller = ReadCursor(input);
    LocatorForm decoded;
    const bool bDecoded = DecodeLocatorForm(FUZZ_ITEM_KIND, controller, &decoded);
    FUZZ_REQUIRE(bOwn == bDecoded);
    if (!bOwn) return 0;
    FUZZ_REQUIRE(own.Offset() == controller.Offset());
    FUZZ_REQUIRE(decoded.nKind == FUZZ_ITEM_KIND);

    // Both sides write the same bytes.
    const Bytes written = WriteExactly(FormSize(form), [&](CWireCursor& c) { return WriteForm(c, form); });
    FUZZ_REQUIRE(EncodedLocatorFormSize(decoded) == written.size());
    const Bytes encoded =
        WriteExactly(EncodedLocatorFormSize(decoded), [&](CWireCursor& c) { return EncodeLocatorForm(decoded, c); });
    FUZZ_REQUIRE(encoded == written);

    // The texts a person sees are built from the form without surprise.
    const std::string text = decoded.Text();
    const std::string description = decoded.Description();
    FUZZ_REQUIRE(text == form.fields.DisplayText());
    (void)description;
    return 0;
}

// Fuzz target for the whole "TavmorLocateItem" request as the agent reads it:
// the head, then the form of the kind the head names (none for a code that
// is no kind), then the tail. The form is read by the controller's decoder,
// which takes exactly the bytes the kind's locator takes.
//
// Checked: a request that reads is written back (head, form, tail) into
// exactly its size, and reading that writing gives the same bytes again.
#include <cstdint>

#include "FuzzCheck.h"
#include "client/LocatorForm.h"
#include "forms/ItemKinds.h"
#include "forms/LocateItemRequestForm.h"

namespace {
struct LocateRequest {
    LocateItemRequestHead head;
    bool bHasForm = false;
    LocatorForm form;
    LocateItemRequestTail tail;
};

bool ReadRequest(CWireCursor& cursor, LocateRequest& request) {
    if (!ReadForm(cursor, request.head)) return false;
    request.bHasForm = FindItemKind(request.head.nKind) != nullptr;
    if (request.bHasForm && !DecodeLocatorForm(request.head.nKind, cursor, &request.form)) return false;
    return ReadForm(cursor, request.tail);
}

uint64_t RequestSize(const LocateRequest& request) {
    return FormSize(request.head) + (request.bHasForm ? EncodedLocatorFormSize(request.form) : 0) +
           FormSize(request.tail);
}

bool WriteRequest(CWireCursor& cursor, const LocateRequest& request) {
    return WriteForm(cursor, request.head) && (!request.bHasForm || EncodeLocatorForm(request.form, cursor)) &&
           WriteForm(cursor, request.tail) && cursor.Ok();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const CBlock input = CopyOf(data, size);
    CWireCursor cursor = ReadCursor(input);
    LocateRequest request;
    if (!ReadRequest(cursor, request)) {
        FUZZ_REQUIRE(!cursor.Ok());
        return 0;
    }
    FUZZ_REQUIRE(cursor.Offset() <= input.Size());
    if (request.bHasForm) FUZZ_REQUIRE(request.form.nKind == request.head.nKind);

    auto write = [](const LocateRequest& r) { return [&r](CWireCursor& c) { return WriteRequest(c, r); }; };
    const Bytes first = WriteExactly(RequestSize(request), write(request));
    RequireRefusedWhenShort(first.size(), write(request));

    const CBlock firstBlock(first.data(), first.size());
    CWireCursor again = ReadCursor(firstBlock);
    LocateRequest second;
    FUZZ_REQUIRE(ReadRequest(again, second));
    FUZZ_REQUIRE(again.Offset() == first.size());
    FUZZ_REQUIRE(second.bHasForm == request.bHasForm);
    const Bytes rewritten = WriteExactly(RequestSize(second), write(second));
    FUZZ_REQUIRE(rewritten == first);
    return 0;
}

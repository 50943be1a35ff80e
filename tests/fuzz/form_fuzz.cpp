// Fuzz target for one self-contained form of the record (a request, a reply
// or a part of one): FUZZ_FORM names its type and FUZZ_FORM_HEADER the
// header under forms/ that states it, e.g.
//   vintrel_fuzz_target(info_probe_request form_fuzz.cpp
//                       FUZZ_FORM=InfoProbeRequestForm FUZZ_FORM_HEADER=forms/InfoProbeRequestForm.h)
// The input is the bytes behind the header word.
#include <cstdint>

#include "FuzzCheck.h"

#define FUZZ_STRING(x) #x
#define FUZZ_HEADER(x) FUZZ_STRING(x)
#include FUZZ_HEADER(FUZZ_FORM_HEADER)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RequireFormRoundTrip<FUZZ_FORM>(data, size);
    return 0;
}

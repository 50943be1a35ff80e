// Form of an accessible item that is brought into view (kind 13): the form
// of kind 12 followed by the window signature (i32), the child count of the
// first child of the window's accessible object when the item was taken.
#pragma once
#include <cstdint>

#include "forms/AccessibleItemForm.h"

struct ScrollingAccessibleItemFields : AccessibleItemFields {
    int32_t nWindowSignature = 0;

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        return AccessibleItemFields::Transfer(io, f) && io.Field(f.nWindowSignature);
    }
};

// Form of a toolbar button (kind 4): the 32-bit fields of the toolbar's
// button record. 39 bytes in all.
//
// Behind the base: iBitmap, idCommand, iString (i32 each), fsState, fsStyle
// (u8 each), dwData (u32). iString comes before fsState, unlike the record,
// and the record's reserved bytes do not travel. On a 64-bit build iString
// and dwData are pointer-sized in the record; the wire carries their low 32
// bits.
#pragma once
#include <cstdint>
#include <string>

#include "forms/ItemFormBase.h"
#include "forms/KnownItem.h"

struct ToolbarItemFields {
    int32_t iBitmap = 0;
    int32_t idCommand = 0;
    int32_t iString = 0;
    uint8_t fsState = 0;
    uint8_t fsStyle = 0;
    uint32_t dwData = 0;

    // By command identifier.
    static bool FromKnown(const KnownItem& known, ToolbarItemFields& f) {
        f.idCommand = known.command;
        return true;
    }

    std::string DisplayText() const { return std::string(); }
    // Empty: a button is described by its kind's base description.
    std::string Description() const { return std::string(); }

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        return io.Field(f.iBitmap) && io.Field(f.idCommand) && io.Field(f.iString) && io.Field(f.fsState) &&
               io.Field(f.fsStyle) && io.Field(f.dwData);
    }
};

// Form of an accessible item (kind 12): the object's texts, its place in
// the window's accessibility tree and the version of the form.
//
// Behind the base: name, role text, description (plain text fields), role
// code, version, use-role-code, child count, level, child identifier (i32
// each), then the value (plain text field) when the version is 1 or more
// and the role index (i32) when it is 2 or more.
//
// A reader takes the last two fields only as the version says. A writer
// writes them as the version says too, unless bAllFields is set: the agent
// always writes all eleven fields, whatever version it holds.
#pragma once
#include <cstdint>
#include <string>
#include <type_traits>

#include "forms/ItemFormBase.h"
#include "forms/KnownItem.h"

struct AccessibleItemFields {
    static const size_t kMaxText = 255;
    static const int32_t kCurrentVersion = 2;

    std::string name;
    std::string role;
    std::string description;
    int32_t nRoleCode = 0;
    int32_t nVersion = kCurrentVersion;
    int32_t bUseRoleCode = 0;
    int32_t nChildCount = 0;
    int32_t nLevel = 0;
    int32_t nChildId = 0;
    std::string value;
    int32_t nRoleIndex = -1;
    // Not on the wire: write every field whatever the version.
    bool bAllFields = false;

    // An accessible object is found from its recording only (the tool's
    // acc-at command records one).
    static bool FromKnown(const KnownItem&, AccessibleItemFields&) { return false; }

    std::string DisplayText() const {
        if (!name.empty() && !role.empty()) return name + " " + role;
        if (!name.empty()) return name;
        return role.empty() ? description : role;
    }

    // Name and role text, when both are there and fit 255 characters with
    // the blank; otherwise the first of name, role text and description.
    std::string Description() const {
        if (!name.empty() && !role.empty()) {
            return name.size() + role.size() + 1 <= kMaxText ? name + " " + role : std::string();
        }
        if (!name.empty()) return name;
        return role.empty() ? description : role;
    }

    template <class TIo, class TForm>
    static bool Transfer(TIo& io, TForm& f) {
        const bool bReading = !std::is_const<TForm>::value;
        const bool bAll = !bReading && f.bAllFields;
        return io.Text(f.name, TextField::Plain) && io.Text(f.role, TextField::Plain) &&
               io.Text(f.description, TextField::Plain) && io.Field(f.nRoleCode) && io.Field(f.nVersion) &&
               io.Field(f.bUseRoleCode) && io.Field(f.nChildCount) && io.Field(f.nLevel) &&
               io.Field(f.nChildId) && ((f.nVersion < 1 && !bAll) || io.Text(f.value, TextField::Plain)) &&
               ((f.nVersion < 2 && !bAll) || io.Field(f.nRoleIndex));
    }
};

// Each serialised form states its fields once, in wire order, as a
// Transfer function template over a transfer object:
//
//   template <class TIo, class TForm> static bool Transfer(TIo& io, TForm& f) {
//       return io.Field(f.nPosition) && io.Text(f.text, TextField::Terminated);
//   }
//
// The same statement then reads a form (CFormReader), writes it
// (CFormWriter, with TForm const) and measures it (CFormSizer). Integer
// fields travel in their own width, which must be 1, 2 or 4 bytes: a field
// of the wire is never wider than 32 bits, and a 64-bit value is converted
// explicitly before it becomes a field.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

#include "forms/WireCursor.h"

template <class T>
constexpr bool IsWireField() {
    return (std::is_integral<T>::value || std::is_enum<T>::value || std::is_same<T, float>::value) &&
           (sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4);
}

class CFormReader {
public:
    explicit CFormReader(CWireCursor& cursor) : m_cursor(cursor) {}
    template <class T>
    bool Field(T& value) {
        static_assert(IsWireField<T>(), "wire fields are 1, 2 or 4 bytes");
        BYTE b[4] = {0, 0, 0, 0};
        if (!m_cursor.ReadBytes(b, sizeof(T))) return false;
        // Little-endian on the wire, as on every Windows target.
        std::memcpy(&value, b, sizeof(T));
        return true;
    }
    bool Text(std::string& text, TextField variant) { return m_cursor.ReadText(text, variant); }
    // n raw bytes; a count the bytes left cannot hold fails before anything
    // is allocated.
    bool Bytes(std::string& bytes, uint32_t n) {
        if (n > m_cursor.Remaining()) {
            m_cursor.Fail();
            return false;
        }
        bytes.resize(n);
        return n == 0 || m_cursor.ReadBytes(&bytes[0], n);
    }
    CWireCursor& Cursor() { return m_cursor; }

private:
    CWireCursor& m_cursor;
};

class CFormWriter {
public:
    explicit CFormWriter(CWireCursor& cursor) : m_cursor(cursor) {}
    template <class T>
    bool Field(const T& value) {
        static_assert(IsWireField<T>(), "wire fields are 1, 2 or 4 bytes");
        return m_cursor.WriteBytes(&value, sizeof(T)).Ok();
    }
    bool Text(const std::string& text, TextField variant) { return m_cursor.WriteText(text, variant).Ok(); }
    // The first n bytes (all of them, as the form's own length says).
    bool Bytes(const std::string& bytes, uint32_t n) {
        return n <= bytes.size() && m_cursor.WriteBytes(bytes.data(), n).Ok();
    }
    CWireCursor& Cursor() { return m_cursor; }

private:
    CWireCursor& m_cursor;
};

// Measures a form. Exact: the bytes written. Declared: the size a locator
// states for itself, in which an empty terminated text counts 5 (its
// terminator slot) although 4 bytes are written for it.
class CFormSizer {
public:
    explicit CFormSizer(bool bDeclared = false) : m_bDeclared(bDeclared) {}
    template <class T>
    bool Field(const T&) {
        static_assert(IsWireField<T>(), "wire fields are 1, 2 or 4 bytes");
        m_nSize += sizeof(T);
        return true;
    }
    bool Text(const std::string& text, TextField variant) {
        m_nSize += CWireCursor::TextFieldSize(text.size(), variant);
        if (m_bDeclared && text.empty() && variant == TextField::Terminated) m_nSize += 1;
        return true;
    }
    bool Bytes(const std::string&, uint32_t n) {
        m_nSize += n;
        return true;
    }
    uint64_t Size() const { return m_nSize; }

private:
    bool m_bDeclared;
    uint64_t m_nSize = 0;
};

// Reads a form of type TForm at the cursor; false (and the cursor failed)
// when it does not fit.
template <class TForm>
bool ReadForm(CWireCursor& cursor, TForm& form) {
    CFormReader reader(cursor);
    return TForm::Transfer(reader, form) && cursor.Ok();
}

template <class TForm>
bool WriteForm(CWireCursor& cursor, const TForm& form) {
    CFormWriter writer(cursor);
    return TForm::Transfer(writer, form) && cursor.Ok();
}

template <class TForm>
uint64_t FormSize(const TForm& form, bool bDeclared = false) {
    CFormSizer sizer(bDeclared);
    TForm::Transfer(sizer, form);
    return sizer.Size();
}

// A rectangle as requests and replies carry it: left, top, right, bottom
// (i32 each, RECT order).
template <class TIo, class TRect>
bool TransferRect(TIo& io, TRect& rect) {
    return io.Field(rect.left) && io.Field(rect.top) && io.Field(rect.right) && io.Field(rect.bottom);
}

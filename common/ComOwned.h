// Owners for what COM hands out: an interface pointer (one reference), a
// BSTR and a VARIANT. Each releases what it holds when it goes, so that no
// path through the accessibility code releases anything by hand. Plain
// C++17 for GCC (mingw-w64) and MSVC.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <unknwn.h>

#include <utility>

// Holds one reference to an interface derived from IUnknown.
template <class TInterface>
class TComPtr {
public:
    TComPtr() noexcept = default;
    // Takes over a reference the caller already holds.
    explicit TComPtr(TInterface* p) noexcept : m_p(p) {}
    ~TComPtr() { Reset(); }
    TComPtr(TComPtr&& other) noexcept : m_p(other.Detach()) {}
    TComPtr& operator=(TComPtr&& other) noexcept {
        if (this != &other) Reset(other.Detach());
        return *this;
    }
    TComPtr(const TComPtr&) = delete;
    TComPtr& operator=(const TComPtr&) = delete;

    // Adds a reference of its own to p.
    static TComPtr AddRefed(TInterface* p) noexcept {
        if (p) p->AddRef();
        return TComPtr(p);
    }

    TInterface* Get() const noexcept { return m_p; }
    TInterface* operator->() const noexcept { return m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }
    // For calls that hand out a new reference: releases what is held first.
    TInterface** Put() noexcept {
        Reset();
        return &m_p;
    }
    void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }
    TInterface* Detach() noexcept {
        TInterface* p = m_p;
        m_p = nullptr;
        return p;
    }
    void Reset(TInterface* p = nullptr) noexcept {
        if (m_p) m_p->Release();
        m_p = p;
    }

private:
    TInterface* m_p = nullptr;
};

// A BSTR, freed with SysFreeString.
class COwnedBstr {
public:
    COwnedBstr() noexcept = default;
    explicit COwnedBstr(BSTR b) noexcept : m_b(b) {}
    ~COwnedBstr() { Reset(); }
    COwnedBstr(const COwnedBstr&) = delete;
    COwnedBstr& operator=(const COwnedBstr&) = delete;
    BSTR Get() const noexcept { return m_b; }
    BSTR* Put() noexcept {
        Reset();
        return &m_b;
    }
    BSTR Detach() noexcept {
        BSTR b = m_b;
        m_b = nullptr;
        return b;
    }
    void Reset(BSTR b = nullptr) noexcept {
        if (m_b) SysFreeString(m_b);
        m_b = b;
    }

private:
    BSTR m_b = nullptr;
};

// A VARIANT, cleared with VariantClear.
class COwnedVariant {
public:
    COwnedVariant() noexcept { VariantInit(&m_v); }
    ~COwnedVariant() { VariantClear(&m_v); }
    COwnedVariant(COwnedVariant&& other) noexcept {
        m_v = other.m_v;
        VariantInit(&other.m_v);
    }
    COwnedVariant& operator=(COwnedVariant&& other) noexcept {
        if (this != &other) {
            VariantClear(&m_v);
            m_v = other.m_v;
            VariantInit(&other.m_v);
        }
        return *this;
    }
    COwnedVariant(const COwnedVariant&) = delete;
    COwnedVariant& operator=(const COwnedVariant&) = delete;

    VARIANT& Get() noexcept { return m_v; }
    const VARIANT& Get() const noexcept { return m_v; }
    VARIANT* Put() noexcept {
        VariantClear(&m_v);
        return &m_v;
    }
    VARTYPE Type() const noexcept { return m_v.vt; }

private:
    VARIANT m_v;
};

// A VARIANT of type VT_I4 holding a child identifier, as the accessibility
// interfaces take it; owns nothing.
inline VARIANT ChildVariant(long nChildId) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = nChildId;
    return v;
}

// Owner types for the Windows handles that the agent, the client, the tool
// and the sample hold. Each handle has exactly one owner; the owner releases
// it when it goes, so an early return can never leak one. Owners move and
// never copy. Plain C++17: GCC (mingw-w64) and MSVC both take it.
#pragma once
#include <windows.h>

#include <memory>

// Owns one handle of type THandle; Release is the function that gives it
// back, nInvalid the value that owns nothing (0 for most kinds of handle, -1
// for those that fail as INVALID_HANDLE_VALUE), written as a number because
// a handle made from one is no constant.
template <class THandle, auto Release, LONG_PTR nInvalid = 0>
class TOwned {
public:
    TOwned() noexcept = default;
    explicit TOwned(THandle handle) noexcept : m_handle(handle) {}
    ~TOwned() { Reset(); }
    TOwned(TOwned&& other) noexcept : m_handle(other.Detach()) {}
    TOwned& operator=(TOwned&& other) noexcept {
        if (this != &other) Reset(other.Detach());
        return *this;
    }
    TOwned(const TOwned&) = delete;
    TOwned& operator=(const TOwned&) = delete;

    THandle Get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return m_handle != Invalid(); }
    // Gives the handle up without releasing it.
    THandle Detach() noexcept {
        THandle handle = m_handle;
        m_handle = Invalid();
        return handle;
    }
    // Releases the handle now and tells whether the release succeeded (true
    // when nothing was held). The owner holds nothing afterwards either way.
    bool Close() noexcept {
        if (m_handle == Invalid()) return true;
        return Release(Detach()) != 0;
    }
    // Releases the handle held, then owns handle.
    void Reset(THandle handle = Invalid()) noexcept {
        if (m_handle != Invalid()) Release(m_handle);
        m_handle = handle;
    }

private:
    static THandle Invalid() noexcept { return reinterpret_cast<THandle>(nInvalid); }

    THandle m_handle = Invalid();
};

using COwnedHandle = TOwned<HANDLE, &CloseHandle>;             // events, processes, threads, mappings
using COwnedFile = TOwned<HANDLE, &CloseHandle, -1>;           // files and snapshots: INVALID_HANDLE_VALUE on failure
using COwnedView = TOwned<void*, &UnmapViewOfFile>;             // a mapped view of a file mapping
using COwnedHook = TOwned<HHOOK, &UnhookWindowsHookEx>;
using COwnedLibrary = TOwned<HMODULE, &FreeLibrary>;
using COwnedWindow = TOwned<HWND, &DestroyWindow>;
using COwnedGdiObject = TOwned<HGDIOBJ, &DeleteObject>;         // bitmaps, brushes, pens, fonts
using COwnedMemoryDC = TOwned<HDC, &DeleteDC>;                  // from CreateCompatibleDC

// A window's device context from GetDC / GetWindowDC, given back to its window.
class CWindowDC {
public:
    explicit CWindowDC(HWND hwnd, bool bWholeWindow = false) noexcept
        : m_hwnd(hwnd), m_hdc(bWholeWindow ? GetWindowDC(hwnd) : GetDC(hwnd)) {}
    ~CWindowDC() {
        if (m_hdc) ReleaseDC(m_hwnd, m_hdc);
    }
    CWindowDC(const CWindowDC&) = delete;
    CWindowDC& operator=(const CWindowDC&) = delete;
    HDC Get() const noexcept { return m_hdc; }
    explicit operator bool() const noexcept { return m_hdc != nullptr; }

private:
    HWND m_hwnd;
    HDC m_hdc;
};

// Selects an object into a device context and puts the previous one back.
class CSelectedObject {
public:
    CSelectedObject(HDC hdc, HGDIOBJ object) noexcept : m_hdc(hdc), m_previous(SelectObject(hdc, object)) {}
    ~CSelectedObject() {
        if (m_previous && m_previous != HGDI_ERROR) SelectObject(m_hdc, m_previous);
    }
    CSelectedObject(const CSelectedObject&) = delete;
    CSelectedObject& operator=(const CSelectedObject&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_previous;
};

// Holds a critical section for the guard's lifetime.
class CCriticalSectionGuard {
public:
    explicit CCriticalSectionGuard(CRITICAL_SECTION& section) noexcept : m_section(section) {
        EnterCriticalSection(&m_section);
    }
    ~CCriticalSectionGuard() { LeaveCriticalSection(&m_section); }
    CCriticalSectionGuard(const CCriticalSectionGuard&) = delete;
    CCriticalSectionGuard& operator=(const CCriticalSectionGuard&) = delete;

private:
    CRITICAL_SECTION& m_section;
};

// Memory a process reserved in another process (VirtualAllocEx), freed there.
class CRemoteMemory {
public:
    CRemoteMemory(HANDLE hProcess, SIZE_T nSize) noexcept
        : m_hProcess(hProcess),
          m_pMemory(VirtualAllocEx(hProcess, nullptr, nSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~CRemoteMemory() {
        if (m_pMemory) VirtualFreeEx(m_hProcess, m_pMemory, 0, MEM_RELEASE);
    }
    CRemoteMemory(const CRemoteMemory&) = delete;
    CRemoteMemory& operator=(const CRemoteMemory&) = delete;
    void* Get() const noexcept { return m_pMemory; }
    explicit operator bool() const noexcept { return m_pMemory != nullptr; }

private:
    HANDLE m_hProcess;
    void* m_pMemory;
};

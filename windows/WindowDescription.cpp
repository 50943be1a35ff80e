#include "windows/WindowDescription.h"

#include <cstring>

#include "locators/ItemLocator.h"
#include "locators/TerminatedTextFieldCodec.h"
#include "windows/WindowFunctions.h"

CWindowDescription::CWindowDescription()
    : m_nDepth(0), m_nReserved(0), m_nTitleChecksum(0), m_hwnd(NULL), m_nItemKind(0),
      m_dwDescFlags(0), m_pItem(NULL), m_bHasExtraText(0) {
    m_dwDescFlags = (m_dwDescFlags & ~kLayoutFieldMask) | (kLayoutFieldValue << 8);
    // Until a window is described there is no frame either: a description
    // of a handle that is not a window carries no frame record.
    m_recWindow.m_bNoFrame = 1;
    std::memset(m_szExtraText, 0, sizeof(m_szExtraText));
    std::memset(m_szModulePath, 0, sizeof(m_szModulePath));
    std::memset(m_szReservedText, 0, sizeof(m_szReservedText));
}

CWindowDescription::~CWindowDescription() {
    delete m_pItem;
}

HWND CWindowDescription::AttachItem(HWND hwnd, int nIndex, int nKind, DWORD dwParam) {
    if (!m_pItem) {
        m_pItem = CreateItemLocator(nKind, dwParam);
        if (!m_pItem) return NULL;
    }
    HWND hwndInstead = m_pItem->LoadItem(hwnd, nIndex);
    m_nItemKind = static_cast<uint32_t>(nKind);
    m_dwDescFlags |= kItemAttachedFlag;
    return hwndInstead;
}

bool CWindowDescription::Describe(HWND hwnd) {
    if (!IsWindow(hwnd)) return false;
    m_hwnd = hwnd;
    m_recWindow.FillFromWindow(hwnd);

    m_nDepth = 0;
    HWND hwndFrame = FindFrameAncestor(hwnd, &m_nDepth);
    if (hwndFrame) {
        m_recFrame.FillFromWindow(hwndFrame);
        m_recWindow.m_bNoFrame = 0;
    } else {
        m_recWindow.m_bNoFrame = 1;
    }

    bool bResult = false;
    DWORD dwProcess = 0;
    GetWindowThreadProcessId(hwnd, &dwProcess);
    std::memset(m_szModulePath, 0, sizeof(m_szModulePath));
    if (dwProcess == GetCurrentProcessId()) {
        // A path of exactly the buffer's size comes back unterminated.
        GetModuleFileNameA(NULL, m_szModulePath, kTextSize);
        m_szModulePath[kTextSize - 1] = '\0';
        bResult = true;
    }
    m_nTitleChecksum = hwndFrame ? GetTitleChecksum(hwndFrame) : 0;
    return bResult;
}

bool CWindowDescription::WriteField(BYTE*& pCursor, const void* pIn, size_t nSize) {
    return m_limit.Write(pCursor, pIn, nSize);
}

bool CWindowDescription::WriteText(BYTE*& pCursor, const char* pszText) {
    if (m_limit.Overrun()) return false;
    CTerminatedTextFieldCodec codec;
    codec.SetLimit(m_limit.End());
    uint32_t nLength = 0;
    codec.WriteText(pCursor, pszText, nLength);
    if (codec.HasOverrun()) m_limit.MarkOverrun();
    return !m_limit.Overrun();
}

bool CWindowDescription::WriteRecord(BYTE*& pCursor, CWindowRecord& record) {
    if (m_limit.Overrun()) return false;
    record.SetDataLimit(m_limit.End());
    record.WriteData(pCursor);
    if (record.HasDataOverrun()) m_limit.MarkOverrun();
    record.SetDataLimit(NULL);
    return !m_limit.Overrun();
}

bool CWindowDescription::WriteItem(BYTE*& pCursor) {
    if (!WriteField(pCursor, &m_nItemKind, 4)) return false;
    // The description stays consistent with its flags: bit 5 without a
    // locator (which AttachItem never leaves) would promise a form that is
    // not there, so nothing can be written for it.
    if (!m_pItem) {
        m_limit.MarkOverrun();
        return false;
    }
    BYTE* pStart = pCursor;
    m_pItem->SetDataLimit(m_limit.End());
    m_pItem->WriteData(pCursor);
    const bool bFitted = !m_pItem->HasDataOverrun() && pCursor >= pStart && m_limit.Fits(pCursor, 0);
    m_pItem->SetDataLimit(NULL);
    if (!bFitted) m_limit.MarkOverrun();
    return bFitted;
}

void CWindowDescription::WriteData(BYTE*& pCursor) {
    if (!WriteRecord(pCursor, m_recWindow)) return;
    if (m_recWindow.m_bNoFrame == 0 && !WriteRecord(pCursor, m_recFrame)) return;
    if (!WriteField(pCursor, &m_nDepth, 2)) return;
    if (!WriteField(pCursor, &m_nReserved, 4)) return;
    if (!WriteText(pCursor, m_szModulePath)) return;
    if (!WriteText(pCursor, m_szReservedText)) return;
    if (!WriteField(pCursor, &m_bHasExtraText, 1)) return;
    if (m_bHasExtraText && !WriteText(pCursor, m_szExtraText)) return;
    if (!WriteField(pCursor, &m_dwDescFlags, 4)) return;
    if ((m_dwDescFlags & kItemAttachedFlag) && !WriteItem(pCursor)) return;
    if (!WriteField(pCursor, &m_nTitleChecksum, 4)) return;
    if (m_limit.Overrun()) return;
    if (!m_limit.Fits(pCursor, CDescriptionOptions::kDataSize)) {
        m_limit.MarkOverrun();
        return;
    }
    m_options.WriteData(pCursor);
}

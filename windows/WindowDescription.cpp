#include "windows/WindowDescription.h"

#include <cstring>

#include "locators/ItemLocator.h"
#include "windows/WindowFunctions.h"

CWindowDescription::CWindowDescription()
    : m_nDepth(0), m_nReserved(0), m_nTitleChecksum(0), m_hwnd(nullptr), m_nItemKind(0),
      m_dwDescFlags(0), m_bHasExtraText(0), m_pDataLimit(nullptr), m_bDataOverrun(false) {
    m_dwDescFlags = (m_dwDescFlags & ~kLayoutFieldMask) | (kLayoutFieldValue << 8);
    // Until a window is described there is no frame either: a description
    // of a handle that is not a window carries no frame record.
    m_recWindow.m_bNoFrame = 1;
    std::memset(m_szExtraText, 0, sizeof(m_szExtraText));
    std::memset(m_szModulePath, 0, sizeof(m_szModulePath));
    std::memset(m_szReservedText, 0, sizeof(m_szReservedText));
}

CWindowDescription::~CWindowDescription() {}

HWND CWindowDescription::AttachItem(HWND hwnd, int nIndex, int nKind, DWORD dwParam) {
    if (!m_pItem) {
        m_pItem.reset(CreateItemLocator(nKind, dwParam));
        if (!m_pItem) return nullptr;
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
        GetModuleFileNameA(nullptr, m_szModulePath, kTextSize);
        m_szModulePath[kTextSize - 1] = '\0';
        bResult = true;
    }
    m_nTitleChecksum = hwndFrame ? GetTitleChecksum(hwndFrame) : 0;
    return bResult;
}

WindowDescriptionHead CWindowDescription::MakeHead() const {
    WindowDescriptionHead head;
    head.window = m_recWindow.MakeForm();
    head.frame = m_recFrame.MakeForm();
    head.nDepth = m_nDepth;
    head.nReserved = m_nReserved;
    head.modulePath = m_szModulePath;
    head.reservedText = m_szReservedText;
    head.bHasExtraText = m_bHasExtraText;
    head.extraText = m_szExtraText;
    head.dwFlags = m_dwDescFlags;
    return head;
}

WindowDescriptionTail CWindowDescription::MakeTail() const {
    WindowDescriptionTail tail;
    tail.nTitleChecksum = m_nTitleChecksum;
    tail.nSecondNumber = m_options.m_nSecondNumber;
    tail.nFirstNumber = m_options.m_nFirstNumber;
    tail.fFirstReal = m_options.m_fFirstReal;
    tail.fSecondReal = m_options.m_fSecondReal;
    tail.bSecondFlag = m_options.m_bSecondFlag;
    tail.bFirstFlag = m_options.m_bFirstFlag;
    tail.bThirdFlag = m_options.m_bThirdFlag;
    return tail;
}

bool CWindowDescription::WriteItem(CWireCursor& cursor) {
    // The description stays consistent with its flags: bit 5 without a
    // locator (which AttachItem never leaves) would promise a form that is
    // not there, so nothing can be written for it.
    if (!m_pItem || !cursor.WriteU32(m_nItemKind).Ok()) return false;
    BYTE* pCursor = cursor.Position();
    m_pItem->SetDataLimit(cursor.End());
    m_pItem->WriteData(pCursor);
    const bool bFitted = !m_pItem->HasDataOverrun() && pCursor >= cursor.Position() && pCursor <= cursor.End();
    m_pItem->SetDataLimit(nullptr);
    return bFitted && cursor.Skip(static_cast<size_t>(pCursor - cursor.Position()));
}

void CWindowDescription::WriteData(BYTE*& pCursor) {
    if (m_bDataOverrun || !m_pDataLimit || !pCursor || pCursor > m_pDataLimit) {
        m_bDataOverrun = true;
        return;
    }
    CWireCursor cursor(pCursor, const_cast<BYTE*>(m_pDataLimit));
    const WindowDescriptionHead head = MakeHead();
    if (!WriteForm(cursor, head) || (head.HasItem() && !WriteItem(cursor)) || !WriteForm(cursor, MakeTail())) {
        m_bDataOverrun = true;
        return;
    }
    pCursor = cursor.Position();
}

#include "channel/AgentDataFile.h"

#include "agent/Diagnostics.h"
#include "channel/MessageTable.h"
#include "locators/ItemLocator.h"
#include "windows/WindowDescription.h"

CAgentDataFile::CAgentDataFile() : m_bOverrun(false) {}

CAgentDataFile::~CAgentDataFile() { Detach(); }

BYTE* CAgentDataFile::Attach() {
    Detach();
    m_bOverrun = false;
    AgentDebug("*** Attaching to File ***\n");
    m_mapping.Reset(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, VINTREL_MAPPING_NAME));
    if (!m_mapping) {
        AgentDebug("*** OpenFileMapping Failed ***\n");
        return nullptr;
    }
    m_view.Reset(MapViewOfFile(m_mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (!m_view) {
        AgentDebug("*** MapViewOfFile Failed ***\n");
        return nullptr;
    }
    // The controller chooses the mapping's size; the view's region tells it.
    BYTE* pView = static_cast<BYTE*>(m_view.Get());
    MEMORY_BASIC_INFORMATION info = {};
    BYTE* pEnd = pView;
    if (VirtualQuery(pView, &info, sizeof(info)) == sizeof(info)) {
        pEnd = static_cast<BYTE*>(info.BaseAddress) + info.RegionSize;
    }
    m_cursor = CWireCursor(pView, pEnd);
    const uint32_t header = m_cursor.ReadU32();
    if (!m_cursor.Ok() || header != RecordHeader::kRequestWord) {
        // Nothing may be written into a refused record.
        AgentDebug("*** Check Signature Failed ***\n");
        m_bOverrun = false;
        Detach();
        return nullptr;
    }
    return m_cursor.Position();
}

BYTE* CAgentDataFile::Rewind(bool bMarkReply) {
    if (!m_view) return nullptr;
    if (!m_cursor.Ok()) return m_cursor.Position();  // an overrun record stays failed
    m_cursor.Seek(0);
    if (bMarkReply) {
        WriteDWord(RecordHeader::kReplyWord);
    } else if (Fits(4)) {
        m_cursor.Skip(4);
    }
    return m_cursor.Position();
}

bool CAgentDataFile::Detach() {
    bool result = true;
    if (m_view) {
        BYTE* pView = static_cast<BYTE*>(m_view.Get());
        if (m_bOverrun && m_cursor.End() - pView >= 4) {
            CWireCursor(pView, m_cursor.End()).WriteU32(RecordHeader::kOverrunWord);
        }
        result = m_view.Close();
    }
    m_mapping.Reset();
    m_cursor = CWireCursor();
    return result;
}

bool CAgentDataFile::Fits(size_t n) {
    if (!m_bOverrun && m_cursor.Fits(n)) return true;
    MarkOverrun();
    return false;
}

void CAgentDataFile::MarkOverrun() {
    if (!m_bOverrun) AgentDebug("*** Record Overrun ***\n");
    m_bOverrun = true;
    m_cursor.Fail();
}

void CAgentDataFile::ReadDWord(uint32_t& value) {
    value = Fits(4) ? m_cursor.ReadU32() : 0;
}

void CAgentDataFile::ReadWord(uint16_t& value) {
    value = Fits(2) ? m_cursor.ReadU16() : 0;
}

void CAgentDataFile::ReadPoint(POINT& point) {
    uint32_t x = 0, y = 0;
    ReadDWord(x);
    ReadDWord(y);
    point.x = static_cast<LONG>(x);
    point.y = static_cast<LONG>(y);
}

void CAgentDataFile::WriteDWord(uint32_t value) {
    if (Fits(4)) m_cursor.WriteU32(value);
}

void CAgentDataFile::WritePair(uint32_t a, uint32_t b) {
    WriteDWord(a);
    WriteDWord(b);
}

void CAgentDataFile::WriteRect(const RECT& rect) {
    WriteDWord(static_cast<uint32_t>(rect.left));
    WriteDWord(static_cast<uint32_t>(rect.top));
    WriteDWord(static_cast<uint32_t>(rect.right));
    WriteDWord(static_cast<uint32_t>(rect.bottom));
}

template <class TObject, class TStep>
bool CAgentDataFile::StepBounded(TObject& object, TStep step) {
    if (!Fits(0)) return false;
    BYTE* pCursor = m_cursor.Position();
    object.SetDataLimit(m_cursor.End());
    step(object, pCursor);
    const bool bFitted = !object.HasDataOverrun() && pCursor >= m_cursor.Position() && pCursor <= m_cursor.End();
    object.SetDataLimit(nullptr);
    if (!bFitted) {
        MarkOverrun();
        return false;
    }
    m_cursor.Skip(static_cast<size_t>(pCursor - m_cursor.Position()));
    return true;
}

bool CAgentDataFile::ReadLocator(CItemLocator& locator) {
    return StepBounded(locator, [](CItemLocator& l, BYTE*& pCursor) { l.ReadData(pCursor); });
}

bool CAgentDataFile::WriteLocator(CItemLocator& locator) {
    return StepBounded(locator, [](CItemLocator& l, BYTE*& pCursor) { l.WriteData(pCursor); });
}

bool CAgentDataFile::WriteWindowInfo(CWindowDescription& description) {
    return StepBounded(description, [](CWindowDescription& d, BYTE*& pCursor) { d.WriteData(pCursor); });
}

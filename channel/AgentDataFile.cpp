#include "channel/AgentDataFile.h"

#include <cstring>

#include "channel/WireNames.h"
#include "locators/ItemLocator.h"
#include "windows/WindowDescription.h"

CAgentDataFile::CAgentDataFile()
    : m_hMapping(nullptr), m_pCursor(nullptr), m_pView(nullptr), m_pViewEnd(nullptr),
      m_bOverrun(false) {}

CAgentDataFile::~CAgentDataFile() {
    if (m_hMapping) Detach();
}

BYTE* CAgentDataFile::Attach() {
    m_pCursor = nullptr;
    m_bOverrun = false;
    OutputDebugStringA("*** Attaching to File ***\n");
    m_hMapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, wire::kMappingName);
    if (m_hMapping) {
        m_pCursor = static_cast<BYTE*>(MapViewOfFile(m_hMapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
        if (!m_pCursor) OutputDebugStringA("*** MapViewOfFile Failed ***\n");
    } else {
        OutputDebugStringA("*** OpenFileMapping Failed ***\n");
    }
    m_pView = m_pCursor;
    m_pViewEnd = nullptr;
    if (m_pView) {
        // The controller chooses the mapping's size; the view's region tells it.
        MEMORY_BASIC_INFORMATION info = {};
        if (VirtualQuery(m_pView, &info, sizeof(info)) == sizeof(info)) {
            m_pViewEnd = static_cast<BYTE*>(info.BaseAddress) + info.RegionSize;
        } else {
            m_pViewEnd = m_pView;
        }
        uint32_t header = 0;
        ReadDWord(header);
        if (m_bOverrun || header != kRequestWord) {
            OutputDebugStringA("*** Check Signature Failed ***\n");
            m_bOverrun = false;  // nothing may be written into a refused record
            Detach();
            m_pView = nullptr;
            m_pCursor = nullptr;
        }
    }
    return m_pCursor;
}

BYTE* CAgentDataFile::Rewind(bool bMarkReply) {
    m_pCursor = m_pView;
    if (!m_pView) return nullptr;
    if (bMarkReply) {
        WriteDWord(kReplyWord);
    } else if (Fits(4)) {
        m_pCursor = m_pView + 4;
    }
    return m_pCursor;
}

bool CAgentDataFile::Detach() {
    bool result = true;
    if (m_pView) {
        if (m_bOverrun && static_cast<size_t>(m_pViewEnd - m_pView) >= 4) {
            const uint32_t word = kOverrunWord;
            std::memcpy(m_pView, &word, 4);
        }
        if (!UnmapViewOfFile(m_pView)) result = false;
    }
    if (m_hMapping) CloseHandle(m_hMapping);
    m_hMapping = nullptr;
    m_pView = nullptr;
    m_pViewEnd = nullptr;
    m_pCursor = nullptr;
    return result;
}

size_t CAgentDataFile::Remaining() const {
    if (!m_pCursor || !m_pViewEnd || m_pCursor > m_pViewEnd) return 0;
    return static_cast<size_t>(m_pViewEnd - m_pCursor);
}

bool CAgentDataFile::Fits(size_t n) {
    if (!m_bOverrun && m_pCursor && Remaining() >= n) return true;
    MarkOverrun();
    return false;
}

void CAgentDataFile::MarkOverrun() {
    if (!m_bOverrun) OutputDebugStringA("*** Record Overrun ***\n");
    m_bOverrun = true;
}

bool CAgentDataFile::ReadBytes(void* out, size_t n) {
    if (!Fits(n)) {
        std::memset(out, 0, n);
        return false;
    }
    std::memcpy(out, m_pCursor, n);
    m_pCursor += n;
    return true;
}

bool CAgentDataFile::WriteBytes(const void* in, size_t n) {
    if (!Fits(n)) return false;
    std::memcpy(m_pCursor, in, n);
    m_pCursor += n;
    return true;
}

// The wire format is little-endian, as are all Windows targets, so the
// fields are copied byte for byte.
void CAgentDataFile::ReadDWord(uint32_t& value) { ReadBytes(&value, 4); }
void CAgentDataFile::ReadWord(uint16_t& value) { ReadBytes(&value, 2); }

void CAgentDataFile::ReadPoint(POINT& point) {
    uint32_t x = 0, y = 0;
    ReadDWord(x);
    ReadDWord(y);
    point.x = static_cast<LONG>(x);
    point.y = static_cast<LONG>(y);
}

void CAgentDataFile::WriteDWord(uint32_t value) { WriteBytes(&value, 4); }

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
    BYTE* pCursor = m_pCursor;
    object.SetDataLimit(m_pViewEnd);
    step(object, pCursor);
    const bool bFitted = !object.HasDataOverrun() && pCursor >= m_pCursor && pCursor <= m_pViewEnd;
    object.SetDataLimit(NULL);
    if (!bFitted) {
        MarkOverrun();
        return false;
    }
    m_pCursor = pCursor;
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

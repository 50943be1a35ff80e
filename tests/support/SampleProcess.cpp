#include "tests/support/SampleProcess.h"

#include "sample/SampleProtocol.h"

bool CSampleProcess::Start(const std::string& arguments, std::string* error, DWORD timeoutMs) {
    return m_process.Start(ProgramDirectory() + "VintrelSample.exe", arguments, sample::kFrameClass,
                           error, timeoutMs);
}

HWND CSampleProcess::Control(int id) const {
    return reinterpret_cast<HWND>(Send(sample::kMsgGetControl, static_cast<WPARAM>(id)));
}

HWND CSampleProcess::Dialog() const { return reinterpret_cast<HWND>(Send(sample::kMsgGetDialog)); }

bool CSampleProcess::Rename(ULONG_PTR which, const std::string& text) const {
    COPYDATASTRUCT cds = {};
    cds.dwData = which;
    cds.cbData = static_cast<DWORD>(text.size() + 1);
    cds.lpData = const_cast<char*>(text.c_str());
    return Send(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds)) != 0;
}

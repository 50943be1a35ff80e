#include "client/ToolbarButtonText.h"

#include <commctrl.h>

#include <vector>

#include "common/Owned.h"

namespace {
// Longest text taken.
const LRESULT kMaxText = 1024;
}  // namespace

std::string ReadToolbarButtonText(HWND toolbar, int command, DWORD timeoutMs) {
    DWORD_PTR length = 0;
    // Without a buffer the toolbar answers the length alone, from any process.
    if (!SendMessageTimeoutA(toolbar, TB_GETBUTTONTEXTA, static_cast<WPARAM>(command), 0, SMTO_ABORTIFHUNG, timeoutMs,
                             &length)) {
        return std::string();
    }
    const LRESULT nLength = static_cast<LRESULT>(length);
    if (nLength <= 0 || nLength > kMaxText) return std::string();
    DWORD processId = 0;
    GetWindowThreadProcessId(toolbar, &processId);
    COwnedHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    if (!process) return std::string();
    const SIZE_T nBuffer = static_cast<SIZE_T>(nLength) + 1;
    CRemoteMemory remote(process.Get(), nBuffer);
    if (!remote) return std::string();
    DWORD_PTR written = 0;
    if (!SendMessageTimeoutA(toolbar, TB_GETBUTTONTEXTA, static_cast<WPARAM>(command),
                             reinterpret_cast<LPARAM>(remote.Get()), SMTO_ABORTIFHUNG, timeoutMs, &written)) {
        return std::string();
    }
    std::vector<char> text(nBuffer, '\0');
    SIZE_T nRead = 0;
    if (!ReadProcessMemory(process.Get(), remote.Get(), text.data(), nBuffer, &nRead) || nRead != nBuffer) {
        return std::string();
    }
    text[static_cast<size_t>(nLength)] = '\0';
    return std::string(text.data());
}

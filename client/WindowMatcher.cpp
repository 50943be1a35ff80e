#include "client/WindowMatcher.h"

#include <algorithm>
#include <cstring>

#include "common/Owned.h"
#include "windows/WindowFunctions.h"

namespace {

// Bits that change with the window's state rather than its identity.
const DWORD kVolatileStyles = WS_VISIBLE | WS_DISABLED | WS_MAXIMIZE | WS_MINIMIZE | WS_HSCROLL | WS_VSCROLL;
const DWORD kVolatileExStyles = WS_EX_TOPMOST | WS_EX_NOACTIVATE;

struct Trait {
    const char* name;
    int weight;
};
const Trait kStyle = {"style", 4};
const Trait kChecksum = {"title checksum", 4};
const Trait kExStyle = {"ex-style", 2};
const Trait kModulePath = {"module path", 2};
const Trait kFrameStyle = {"frame style", 1};
const Trait kDescendants = {"descendants", 1};
const Trait kSize = {"size", 1};

BOOL CALLBACK Collect(HWND hwnd, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool SameText(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }


// The record of a window as the agent would write it, for the traits the
// matcher compares.
bool PassesRequiredTraits(const WindowDescriptionForm& d, HWND hwnd) {
    if (!SameText(ComparableClassName(hwnd), d.window.className)) return false;
    HWND parent = GetParent(hwnd);
    const std::string parentClass = parent ? ComparableClassName(parent) : std::string();
    if (!SameText(parentClass, d.window.parentClassName)) return false;
    const DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    if ((style & WS_CHILD) && static_cast<uint32_t>(GetWindowLongA(hwnd, GWL_ID)) != d.window.nId) return false;
    uint16_t depth = 0;
    HWND frame = FrameAncestorOf(hwnd, &depth);
    if (d.hasFrame) {
        if (!frame || depth != d.nDepth || !SameText(ComparableClassName(frame), d.frame.className)) return false;
    } else if (frame) {
        return false;
    }
    if (!d.modulePath.empty()) {
        const std::string path = ProcessImagePath(hwnd);
        // A process whose image cannot be read is not excluded for it.
        if (!path.empty() && !SameText(FileNameOf(path), FileNameOf(d.modulePath))) return false;
    }
    return true;
}

void Agree(WindowCandidate& c, const Trait& trait, bool agrees) {
    if (!agrees) return;
    c.score += trait.weight;
    c.agreed.push_back(trait.name);
}

WindowCandidate Rank(const WindowDescriptionForm& d, HWND hwnd) {
    WindowCandidate c;
    c.hwnd = hwnd;
    const DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE));
    Agree(c, kStyle, (style & ~kVolatileStyles) == (d.window.dwStyle & ~kVolatileStyles));
    Agree(c, kExStyle, (exStyle & ~kVolatileExStyles) == (d.window.dwExStyle & ~kVolatileExStyles));
    if (d.hasFrame) {
        HWND frame = FrameAncestorOf(hwnd, nullptr);
        Agree(c, kChecksum, TitleChecksumOf(frame) == d.nTitleChecksum);
        const DWORD frameStyle = static_cast<DWORD>(GetWindowLongA(frame, GWL_STYLE));
        Agree(c, kFrameStyle, (frameStyle & ~kVolatileStyles) == (d.frame.dwStyle & ~kVolatileStyles));
    }
    if (!d.modulePath.empty()) Agree(c, kModulePath, SameText(ProcessImagePath(hwnd), d.modulePath));
    Agree(c, kDescendants, CountDescendants(hwnd) == d.window.nDescendants);
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(hwnd, &rect);
    const RECT& r = d.window.rcWindow;
    Agree(c, kSize, rect.right - rect.left == r.right - r.left && rect.bottom - rect.top == r.bottom - r.top);
    return c;
}

}  // namespace

const char* MatchOutcomeText(MatchOutcome outcome) {
    switch (outcome) {
        case MatchOutcome::Match: return "match";
        case MatchOutcome::Ambiguous: return "ambiguous";
        default: return "none";
    }
}

// The agent's own window functions, so that what is compared is computed
// exactly as it was recorded.
std::string ComparableClassName(HWND hwnd) {
    char name[257] = {0};
    GetWindowClassName(hwnd, name, 256);
    return name;
}

HWND FrameAncestorOf(HWND hwnd, uint16_t* depth) { return FindFrameAncestor(hwnd, depth); }

int32_t TitleChecksumOf(HWND frame) { return frame ? GetTitleChecksum(frame) : 0; }

std::string ProcessImagePath(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (!pid) return std::string();
    COwnedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) return std::string();
    char path[MAX_PATH * 2] = {0};
    DWORD size = sizeof(path);
    std::string result;
    if (QueryFullProcessImageNameA(process.Get(), 0, path, &size)) result.assign(path, size);
    return result;
}

MatchResult MatchRecordedWindow(const WindowDescriptionForm& description, const std::vector<HWND>& windows) {
    MatchResult result;
    for (HWND hwnd : windows) {
        if (IsWindow(hwnd) && PassesRequiredTraits(description, hwnd)) {
            result.candidates.push_back(Rank(description, hwnd));
        }
    }
    std::stable_sort(result.candidates.begin(), result.candidates.end(),
                     [](const WindowCandidate& a, const WindowCandidate& b) { return a.score > b.score; });
    if (result.candidates.empty()) return result;
    if (result.candidates.size() > 1 && result.candidates[1].score == result.candidates[0].score) {
        result.outcome = MatchOutcome::Ambiguous;
        return result;
    }
    result.outcome = MatchOutcome::Match;
    result.hwnd = result.candidates[0].hwnd;
    return result;
}

MatchResult FindRecordedWindow(const WindowDescriptionForm& description) {
    std::vector<HWND> topLevel;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&topLevel));
    std::vector<HWND> all = topLevel;
    for (HWND hwnd : topLevel) EnumChildWindows(hwnd, Collect, reinterpret_cast<LPARAM>(&all));
    return MatchRecordedWindow(description, all);
}

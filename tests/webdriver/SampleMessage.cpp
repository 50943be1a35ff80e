// A helper of the WebDriver suite: the suite runs on the Linux side and
// cannot send window messages, so it runs this under Wine to ask the sample
// what it saw (the last click) and to change it (rebuild or reverse its
// list) while a WebDriver session drives it. No agent is involved: the
// session's server holds the agent's record.
//
//   sample_message CLASS MESSAGE [WPARAM [LPARAM]]
// sends MESSAGE (a number) to the first top-level window of CLASS and
// prints the result as a decimal number; exit code 2 when there is no such
// window or it does not answer within 5 s.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: sample_message CLASS MESSAGE [WPARAM [LPARAM]]\n");
        return 1;
    }
    const HWND window = FindWindowA(argv[1], nullptr);
    if (!window) {
        std::fprintf(stderr, "no top-level window of class %s\n", argv[1]);
        return 2;
    }
    const UINT message = static_cast<UINT>(std::strtoul(argv[2], nullptr, 0));
    const WPARAM wParam = argc > 3 ? static_cast<WPARAM>(std::strtoll(argv[3], nullptr, 0)) : 0;
    const LPARAM lParam = argc > 4 ? static_cast<LPARAM>(std::strtoll(argv[4], nullptr, 0)) : 0;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result)) {
        std::fprintf(stderr, "the window did not answer\n");
        return 2;
    }
    std::printf("%lld\n", static_cast<long long>(result));
    return 0;
}

// A helper of the WebDriver suite: the suite runs on the Linux side and
// cannot send window messages, so it runs this under Wine to ask the sample
// what it saw (the last click) and to change it (rebuild or reverse its
// list) while a WebDriver session drives it. No agent is involved: the
// session's server holds the agent's record.
//
//   sample_message [--post] CLASS MESSAGE [WPARAM [LPARAM]]
// sends MESSAGE (a number) to the first top-level window of CLASS and
// prints the result as a decimal number; exit code 2 when there is no such
// window or it does not answer within 5 s. With --post the message is
// posted instead (for one that stalls the sample) and 0 is printed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    const bool bPost = argc > 1 && std::strcmp(argv[1], "--post") == 0;
    if (bPost) {
        --argc;
        ++argv;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: sample_message [--post] CLASS MESSAGE [WPARAM [LPARAM]]\n");
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
    if (bPost) {
        if (!PostMessageA(window, message, wParam, lParam)) {
            std::fprintf(stderr, "the message could not be posted\n");
            return 2;
        }
        std::printf("0\n");
        return 0;
    }
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result)) {
        std::fprintf(stderr, "the window did not answer\n");
        return 2;
    }
    std::printf("%lld\n", static_cast<long long>(result));
    return 0;
}

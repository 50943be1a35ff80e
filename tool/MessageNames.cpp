#include "tool/MessageNames.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct NamedMessage {
    UINT message;
    const char* name;
};

const NamedMessage kNames[] = {
    {0x0000, "WM_NULL"},          {0x0001, "WM_CREATE"},        {0x0002, "WM_DESTROY"},
    {0x0003, "WM_MOVE"},          {0x0005, "WM_SIZE"},          {0x0006, "WM_ACTIVATE"},
    {0x0007, "WM_SETFOCUS"},      {0x0008, "WM_KILLFOCUS"},     {0x000A, "WM_ENABLE"},
    {0x000B, "WM_SETREDRAW"},     {0x000C, "WM_SETTEXT"},       {0x000D, "WM_GETTEXT"},
    {0x000E, "WM_GETTEXTLENGTH"}, {0x000F, "WM_PAINT"},         {0x0010, "WM_CLOSE"},
    {0x0012, "WM_QUIT"},          {0x0014, "WM_ERASEBKGND"},    {0x0018, "WM_SHOWWINDOW"},
    {0x001C, "WM_ACTIVATEAPP"},   {0x0020, "WM_SETCURSOR"},     {0x0021, "WM_MOUSEACTIVATE"},
    {0x0024, "WM_GETMINMAXINFO"}, {0x0030, "WM_SETFONT"},       {0x0031, "WM_GETFONT"},
    {0x003D, "WM_GETOBJECT"},     {0x0046, "WM_WINDOWPOSCHANGING"}, {0x0047, "WM_WINDOWPOSCHANGED"},
    {0x004A, "WM_COPYDATA"},      {0x004E, "WM_NOTIFY"},        {0x007B, "WM_CONTEXTMENU"},
    {0x007F, "WM_GETICON"},       {0x0080, "WM_SETICON"},       {0x0081, "WM_NCCREATE"},
    {0x0082, "WM_NCDESTROY"},     {0x0083, "WM_NCCALCSIZE"},    {0x0084, "WM_NCHITTEST"},
    {0x0085, "WM_NCPAINT"},       {0x0086, "WM_NCACTIVATE"},    {0x0087, "WM_GETDLGCODE"},
    {0x00A0, "WM_NCMOUSEMOVE"},   {0x00A1, "WM_NCLBUTTONDOWN"}, {0x0100, "WM_KEYDOWN"},
    {0x0101, "WM_KEYUP"},         {0x0102, "WM_CHAR"},          {0x0104, "WM_SYSKEYDOWN"},
    {0x0105, "WM_SYSKEYUP"},      {0x0110, "WM_INITDIALOG"},    {0x0111, "WM_COMMAND"},
    {0x0112, "WM_SYSCOMMAND"},    {0x0113, "WM_TIMER"},         {0x0114, "WM_HSCROLL"},
    {0x0115, "WM_VSCROLL"},       {0x0116, "WM_INITMENU"},      {0x0117, "WM_INITMENUPOPUP"},
    {0x011F, "WM_MENUSELECT"},    {0x0120, "WM_ENTERIDLE"},     {0x0121, "WM_MENURBUTTONUP"},
    {0x0125, "WM_UNINITMENUPOPUP"}, {0x0133, "WM_CTLCOLOREDIT"}, {0x0134, "WM_CTLCOLORLISTBOX"},
    {0x0135, "WM_CTLCOLORBTN"},   {0x0136, "WM_CTLCOLORDLG"},   {0x0138, "WM_CTLCOLORSTATIC"},
    {0x0200, "WM_MOUSEMOVE"},     {0x0201, "WM_LBUTTONDOWN"},   {0x0202, "WM_LBUTTONUP"},
    {0x0203, "WM_LBUTTONDBLCLK"}, {0x0204, "WM_RBUTTONDOWN"},   {0x0205, "WM_RBUTTONUP"},
    {0x020A, "WM_MOUSEWHEEL"},    {0x0210, "WM_PARENTNOTIFY"},  {0x0211, "WM_ENTERMENULOOP"},
    {0x0212, "WM_EXITMENULOOP"},  {0x0215, "WM_CAPTURECHANGED"}, {0x0216, "WM_MOVING"},
    {0x0231, "WM_ENTERSIZEMOVE"}, {0x0232, "WM_EXITSIZEMOVE"},  {0x0281, "WM_IME_SETCONTEXT"},
    {0x0282, "WM_IME_NOTIFY"},    {0x02A3, "WM_MOUSELEAVE"},    {0x0300, "WM_CUT"},
    {0x0301, "WM_COPY"},          {0x0302, "WM_PASTE"},         {0x0318, "WM_PRINTCLIENT"},
    {0x00B0, "EM_GETSEL"},        {0x00B1, "EM_SETSEL"},        {0x00B2, "EM_GETRECT"},
    {0x1304, "TCM_GETITEMCOUNT"}, {0x1305, "TCM_GETITEMA"},     {0x130A, "TCM_GETITEMRECT"},
    {0x130B, "TCM_GETCURSEL"},    {0x130D, "TCM_HITTEST"},
};

}  // namespace

std::string MessageName(UINT message) {
    for (const NamedMessage& n : kNames) {
        if (n.message == message) return n.name;
    }
    char text[128];
    if (message >= 0xC000 && message <= 0xFFFF) {
        // A registered message's name is its clipboard-format name.
        if (GetClipboardFormatNameA(message, text, sizeof(text)) > 0) return text;
    }
    if (message >= WM_APP && message < 0xC000) {
        std::snprintf(text, sizeof(text), "WM_APP+%u", message - WM_APP);
    } else if (message >= WM_USER && message < WM_APP) {
        std::snprintf(text, sizeof(text), "WM_USER+%u", message - WM_USER);
    } else {
        std::snprintf(text, sizeof(text), "0x%04X", message);
    }
    return text;
}

bool ParseMessage(const std::string& text, UINT* message) {
    if (text.empty() || !message) return false;
    for (const NamedMessage& n : kNames) {
        if (lstrcmpiA(n.name, text.c_str()) == 0) {
            *message = n.message;
            return true;
        }
    }
    // "WM_APP+20", "WM_USER+5", as MessageName writes them.
    for (const NamedMessage& base : {NamedMessage{WM_APP, "WM_APP+"}, NamedMessage{WM_USER, "WM_USER+"}}) {
        const size_t n = std::strlen(base.name);
        if (text.size() > n && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, text.c_str(), static_cast<int>(n),
                                              base.name, static_cast<int>(n)) == CSTR_EQUAL) {
            char* end = nullptr;
            const unsigned long offset = std::strtoul(text.c_str() + n, &end, 0);
            if (!end || *end != '\0' || offset >= 0xC000 - base.message) return false;
            *message = base.message + static_cast<UINT>(offset);
            return true;
        }
    }
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 0);
    if (end && *end == '\0' && value <= 0xFFFF) {
        *message = static_cast<UINT>(value);
        return true;
    }
    // Any other name is taken as a registered message's.
    if (text.find_first_of(" \t") == std::string::npos && !(text[0] >= '0' && text[0] <= '9')) {
        *message = RegisterWindowMessageA(text.c_str());
        return *message != 0;
    }
    return false;
}

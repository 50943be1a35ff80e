// Element commands: each finds its element again through the agent, then
// reads or acts on it.
#include "webdriver/ElementCommands.h"

#include <memory>

#include "client/ItemRequests.h"
#include "forms/ItemKinds.h"
#include "webdriver/CommandContext.h"
#include "webdriver/ElementFinder.h"
#include "webdriver/ElementStore.h"
#include "webdriver/InputSynthesis.h"
#include "webdriver/Screenshot.h"
#include "webdriver/Session.h"
#include "webdriver/WebDriverError.h"
#include "webdriver/WindowCommands.h"

namespace {

const char kElementKey[] = "element-6066-11e4-a52e-4f735466cecf";
const DWORD kMessageTimeoutMs = 1000;

CElementStore& StoreOf(CSession& session) {
    std::shared_ptr<CElementStore>& slot = session.ElementStoreSlot();
    if (!slot) slot = std::make_shared<CElementStore>();
    return *slot;
}

nlohmann::json ElementJson(CSession& session, const PageNode& node) {
    return {{kElementKey, StoreOf(session).Add(node)}};
}

[[noreturn]] void ThrowStale(const PageNode& node) {
    ThrowWebDriverError(WebDriverErrorCode::StaleElementReference,
                        "the " + node.tag + (node.name.empty() ? std::string() : " '" + node.name + "'") +
                            " can no longer be found");
}

// The element a path's {elementId} names, as it was found.
PageNode StoredElement(CSession& session, const std::string& id) {
    PageNode node;
    if (!StoreOf(session).Get(id, &node)) {
        ThrowWebDriverError(WebDriverErrorCode::NoSuchElement, "no element has the id '" + id + "' in this session");
    }
    return node;
}

bool BelongsToSession(CSession& session, HWND hwnd) {
    DWORD dwProcess = 0;
    return IsWindow(hwnd) && GetWindowThreadProcessId(hwnd, &dwProcess) && dwProcess == session.ProcessId();
}

// The element with its state read now: a window as it is, an item from a
// fresh snapshot of its control (the entry with its index and text, or the
// first with its text after a re-sort); "stale element reference" when no
// entry is it any more.
PageNode Refreshed(CSession& session, const std::string& id) {
    PageNode node = StoredElement(session, id);
    if (!BelongsToSession(session, node.window)) ThrowStale(node);
    if (node.kind == 0) {
        PageNode now = MakeWindowNode(node.window);
        // A handle used again by another window of the application is not
        // the element's window.
        if (now.className != node.className) ThrowStale(node);
        now.index = node.index;
        StoreOf(session).Update(id, now);
        return now;
    }
    CPageSource page;
    PageSourceOptions options;
    options.requestTimeoutMs = session.RequestTimeoutMs();
    if (node.kind == kItemKindListView) {
        options.bNameFilter = true;
        options.nameFilter = node.name;
    }
    std::string error;
    if (!page.BuildItems(session.Agent(node.window), node.window, node.kind, node.factoryArgument, options, &error)) {
        if (page.LastStatus() != AgentStatus::Ok && BelongsToSession(session, node.window)) {
            session.ThrowAgentFailure(page.LastStatus(), error);
        }
        ThrowStale(node);
    }
    const PageNode* pSame = nullptr;
    const PageNode* pNamesake = nullptr;
    // A status-bar pane is its place: its text changes while it stays.
    const bool bByPlace = node.kind == kItemKindStatusBar;
    for (const PageNode& entry : page.Nodes()) {
        if (entry.kind != node.kind) continue;
        if (bByPlace && entry.runtimeId == node.runtimeId) {
            pSame = &entry;
            break;
        }
        if (entry.name != node.name) continue;
        if (entry.runtimeId == node.runtimeId) {
            pSame = &entry;
            break;
        }
        if (!pNamesake) pNamesake = &entry;
    }
    const PageNode* pNow = pSame ? pSame : pNamesake;
    if (!pNow) ThrowStale(node);
    PageNode now = *pNow;
    StoreOf(session).Update(id, now);
    return now;
}

// The element found again where it is now: first told apart from the
// other items by a fresh read of its control (a locator alone would settle
// for a look-alike once the item is gone), then located with its fresh
// form, which scrolls it into view; "stale element reference" when it is
// gone.
PageNode Relocated(CSession& session, const std::string& id) {
    PageNode node = Refreshed(session, id);
    if (node.kind == 0) return node;
    LocateResult located = LocateItem(session.Agent(node.window), node.window, node.kind, node.factoryArgument,
                                      node.item.form, 0, session.RequestTimeoutMs());
    if (located.status != AgentStatus::Ok) {
        if (!BelongsToSession(session, node.window)) ThrowStale(node);
        session.ThrowAgentFailure(located.status, "finding the " + node.tag + " '" + node.name + "' again");
    }
    if (!located.found) ThrowStale(node);
    if (located.hasForm) {
        node.item.form = located.form;
        node.item.rect = located.form.rect;
    }
    node.screen = ItemRectOnScreen(node.window, node.kind, node.item.rect);
    node.offscreen = IsRectEmpty(&node.screen) != FALSE;
    StoreOf(session).Update(id, node);
    return node;
}

bool IsShown(const PageNode& node) {
    HWND top = GetAncestor(node.window, GA_ROOT);
    return IsWindowVisible(node.window) && !(top && IsIconic(top)) && !IsRectEmpty(&node.screen);
}

bool IsEditControl(HWND hwnd) {
    const std::string className = WindowClassUtf8(hwnd);
    return lstrcmpiA(className.c_str(), "Edit") == 0 || _strnicmp(className.c_str(), "RichEdit", 8) == 0;
}

POINT CentreOf(const RECT& r) { return {r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2}; }

// Gives the window the keyboard focus, as a person's click would: its
// top-level window to the front, then focus within its thread.
bool FocusWindow(HWND hwnd) {
    BringWindowToFront(GetAncestor(hwnd, GA_ROOT));
    const DWORD dwTarget = GetWindowThreadProcessId(hwnd, nullptr);
    const DWORD dwOwn = GetCurrentThreadId();
    const bool bAttached = dwTarget != dwOwn && AttachThreadInput(dwOwn, dwTarget, TRUE);
    SetFocus(hwnd);
    if (bAttached) AttachThreadInput(dwOwn, dwTarget, FALSE);
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(dwTarget, &info) && info.hwndFocus == hwnd;
}

// Typed value of an attribute for the property command.
nlohmann::json PropertyValue(const std::string& name, const std::string& text) {
    if (name == "IsEnabled" || name == "IsSelected" || name == "IsOffscreen") return text == "True";
    if (name == "Index" || name == "x" || name == "y" || name == "width" || name == "height") {
        char* pEnd = nullptr;
        const long long n = std::strtoll(text.c_str(), &pEnd, 10);
        if (pEnd && *pEnd == '\0') return n;
    }
    return text;
}

// The attribute of that name: exact first, then without regard to case.
bool AttributeOf(const PageNode& node, const std::string& name, std::string* pValue, std::string* pCanonical) {
    for (const std::string& known : NodeAttributeNames()) {
        if (known == name || lstrcmpiA(known.c_str(), name.c_str()) == 0) {
            if (pCanonical) *pCanonical = known;
            return NodeAttribute(node, known, pValue);
        }
    }
    return false;
}

nlohmann::json AttributeJson(const PageNode& node, const std::string& name) {
    std::string value;
    if (!AttributeOf(node, name, &value, nullptr)) return nullptr;
    return value;
}

std::vector<PageNode> RunFind(CCommandContext& context, const PageNode* pScope, bool bFirstOnly) {
    const FindQuery query = ParseFindQuery(context.RequireString("using"), context.RequireString("value"));
    CElementFinder finder(context.Session());
    return finder.Find(query, pScope, bFirstOnly);
}

nlohmann::json FirstOf(CCommandContext& context, const std::vector<PageNode>& found) {
    if (found.empty()) {
        ThrowWebDriverError(WebDriverErrorCode::NoSuchElement,
                            "no element matches " + context.Body().value("using", std::string()) + " '" +
                                context.Body().value("value", std::string()) + "'");
    }
    return ElementJson(context.Session(), found.front());
}

nlohmann::json AllOf(CSession& session, const std::vector<PageNode>& found) {
    nlohmann::json list = nlohmann::json::array();
    for (const PageNode& node : found) list.push_back(ElementJson(session, node));
    return list;
}

// The element a script argument names.
std::string ElementIdArgument(const nlohmann::json& argument) {
    if (!argument.is_object() || !argument.contains(kElementKey) || !argument[kElementKey].is_string()) {
        ThrowInvalidArgument("the script's first argument is no element reference");
    }
    return argument[kElementKey].get<std::string>();
}

}  // namespace

nlohmann::json GetPageSource(CCommandContext& context) {
    CPageSource page;
    BuildCurrentPageSource(context.Session(), page);
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n" + page.Xml();
}

nlohmann::json FindElement(CCommandContext& context) { return FirstOf(context, RunFind(context, nullptr, true)); }

nlohmann::json FindElements(CCommandContext& context) {
    return AllOf(context.Session(), RunFind(context, nullptr, false));
}

nlohmann::json FindElementFromElement(CCommandContext& context) {
    const PageNode scope = StoredElement(context.Session(), context.Param("elementId"));
    return FirstOf(context, RunFind(context, &scope, true));
}

nlohmann::json FindElementsFromElement(CCommandContext& context) {
    const PageNode scope = StoredElement(context.Session(), context.Param("elementId"));
    return AllOf(context.Session(), RunFind(context, &scope, false));
}

nlohmann::json GetActiveElement(CCommandContext& context) {
    CSession& session = context.Session();
    const HWND current = session.RequireCurrentWindow();
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    HWND focus = nullptr;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(current, nullptr), &info)) focus = info.hwndFocus;
    if (!focus || !BelongsToSession(session, focus)) {
        ThrowWebDriverError(WebDriverErrorCode::NoSuchElement, "no window of the application has the focus");
    }
    return ElementJson(session, MakeWindowNode(focus));
}

nlohmann::json ClickElement(CCommandContext& context) {
    CSession& session = context.Session();
    const PageNode node = Relocated(session, context.Param("elementId"));
    if (!IsShown(node)) {
        ThrowWebDriverError(WebDriverErrorCode::ElementNotInteractable,
                            "the " + node.tag + " '" + node.name + "' is not shown on the screen");
    }
    // A popup menu is a window of its own that closes when another comes
    // to the front.
    if (node.kind != kItemKindPopupMenu) BringWindowToFront(GetAncestor(node.window, GA_ROOT));
    const POINT centre = CentreOf(node.screen);
    // The click goes to whatever is on top there: another top-level window
    // (a dialog box the window owns, say) would take it.
    const HWND hit = WindowFromPoint(centre);
    if (!hit) {
        ThrowWebDriverError(WebDriverErrorCode::ElementNotInteractable,
                            "the centre of the " + node.tag + " '" + node.name + "' is off the screen");
    }
    const HWND hitRoot = GetAncestor(hit, GA_ROOT);
    if (hitRoot != GetAncestor(node.window, GA_ROOT)) {
        ThrowWebDriverError(WebDriverErrorCode::ElementClickIntercepted,
                            "the " + node.tag + " '" + node.name + "' is covered at its centre by window " +
                                WindowHandleText(hitRoot) + " '" + WindowTextUtf8(hitRoot) + "' (class " +
                                WindowClassUtf8(hitRoot) + ")");
    }
    if (!session.Input().ClickAt(centre, MouseButton::Left, false)) {
        ThrowWebDriverError(WebDriverErrorCode::UnknownError, "the click at (" + std::to_string(centre.x) + ", " +
                                                                  std::to_string(centre.y) + ") was not taken");
    }
    return nullptr;
}

nlohmann::json ClearElement(CCommandContext& context) {
    CSession& session = context.Session();
    const PageNode node = Relocated(session, context.Param("elementId"));
    const LONG style = node.kind == 0 ? GetWindowLongA(node.window, GWL_STYLE) : 0;
    if (node.kind != 0 || !IsEditControl(node.window)) {
        ThrowWebDriverError(WebDriverErrorCode::InvalidElementState,
                            "only edit controls can be cleared; this is a " + node.tag + " of class " + node.className);
    }
    if (!IsWindowEnabled(node.window) || (style & ES_READONLY)) {
        ThrowWebDriverError(WebDriverErrorCode::InvalidElementState, "the edit control is disabled or read-only");
    }
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(node.window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""), SMTO_ABORTIFHUNG,
                             kMessageTimeoutMs, &result)) {
        if (!IsWindow(node.window)) ThrowWebDriverError(WebDriverErrorCode::NoSuchWindow, "the edit control is gone");
        ThrowWebDriverError(WebDriverErrorCode::Timeout, "the edit control did not answer WM_SETTEXT");
    }
    return nullptr;
}

nlohmann::json SendKeysToElement(CCommandContext& context) {
    CSession& session = context.Session();
    const std::string text = context.RequireString("text");
    const PageNode node = Relocated(session, context.Param("elementId"));
    if (!IsShown(node) || !IsWindowEnabled(node.window)) {
        ThrowWebDriverError(WebDriverErrorCode::ElementNotInteractable,
                            "the " + node.tag + " '" + node.name + "' is hidden or disabled");
    }
    if (!FocusWindow(node.window) || node.kind != 0) {
        // An item, or a window that would not take the focus from outside:
        // a click puts the focus where a person's would.
        if (node.kind != kItemKindPopupMenu) BringWindowToFront(GetAncestor(node.window, GA_ROOT));
        session.Input().ClickAt(CentreOf(node.screen), MouseButton::Left, false);
    }
    if (!session.Input().TypeText(text)) {
        ThrowWebDriverError(WebDriverErrorCode::UnknownError, "the keys were not taken (is the text UTF-8?)");
    }
    return nullptr;
}

nlohmann::json GetElementText(CCommandContext& context) {
    return Refreshed(context.Session(), context.Param("elementId")).name;
}

nlohmann::json GetElementRect(CCommandContext& context) {
    const PageNode node = Relocated(context.Session(), context.Param("elementId"));
    return {{"x", node.screen.left},
            {"y", node.screen.top},
            {"width", node.screen.right - node.screen.left},
            {"height", node.screen.bottom - node.screen.top}};
}

nlohmann::json GetElementAttribute(CCommandContext& context) {
    const PageNode node = Refreshed(context.Session(), context.Param("elementId"));
    return AttributeJson(node, context.Param("name"));
}

nlohmann::json GetElementProperty(CCommandContext& context) {
    const PageNode node = Refreshed(context.Session(), context.Param("elementId"));
    std::string value, canonical;
    if (!AttributeOf(node, context.Param("name"), &value, &canonical)) return nullptr;
    return PropertyValue(canonical, value);
}

nlohmann::json GetElementTagName(CCommandContext& context) {
    const PageNode node = StoredElement(context.Session(), context.Param("elementId"));
    if (!BelongsToSession(context.Session(), node.window)) ThrowStale(node);
    return node.tag;
}

nlohmann::json IsElementDisplayed(CCommandContext& context) {
    return IsShown(Relocated(context.Session(), context.Param("elementId")));
}

nlohmann::json IsElementEnabled(CCommandContext& context) {
    const PageNode node = Refreshed(context.Session(), context.Param("elementId"));
    return node.enabled && IsWindowEnabled(node.window) != FALSE;
}

nlohmann::json IsElementSelected(CCommandContext& context) {
    return Refreshed(context.Session(), context.Param("elementId")).selected;
}

nlohmann::json TakeElementScreenshot(CCommandContext& context) {
    const PageNode node = Relocated(context.Session(), context.Param("elementId"));
    return ScreenRectPngBase64(node.screen);
}

nlohmann::json ExecuteSyncScript(CCommandContext& context) {
    const std::string script = context.RequireString("script");
    const nlohmann::json& args = context.RequireArray("args");
    CSession& session = context.Session();
    if (script.rfind("/* isDisplayed */", 0) == 0 && args.size() == 1) {
        return IsShown(Relocated(session, ElementIdArgument(args[0])));
    }
    if (script.rfind("/* getAttribute */", 0) == 0 && args.size() == 2 && args[1].is_string()) {
        return AttributeJson(Refreshed(session, ElementIdArgument(args[0])), args[1].get<std::string>());
    }
    ThrowWebDriverError(WebDriverErrorCode::UnsupportedOperation,
                        "this server runs no scripts (only the attribute and display checks Selenium sends)");
}

RECT ElementScreenRect(CSession& session, const std::string& elementId) {
    return Relocated(session, elementId).screen;
}

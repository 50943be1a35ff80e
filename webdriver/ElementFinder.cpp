// The find strategies, over page sources built for them.
#include "webdriver/ElementFinder.h"

#include <cctype>
#include <cstdlib>

#include "forms/ItemKinds.h"
#include "webdriver/Session.h"
#include "webdriver/WebDriverError.h"
#include "webdriver/XPathQuery.h"

namespace {

const DWORD kRetryPauseMs = 100;

[[noreturn]] void ThrowInvalidSelector(const std::string& message) {
    ThrowWebDriverError(WebDriverErrorCode::InvalidSelector, message);
}

void AppendUtf8(std::string& out, unsigned long codePoint) {
    // CSS: zero, surrogates and what lies beyond Unicode stand for U+FFFD.
    if (codePoint == 0 || (codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF) codePoint = 0xFFFD;
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

bool IsHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }
bool IsCssSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// Reads a CSS escape at text[i] == '\\'; false at the end of the text.
bool ReadEscape(const std::string& text, size_t& i, std::string& out) {
    ++i;
    if (i >= text.size()) return false;
    if (IsHex(text[i])) {
        unsigned long codePoint = 0;
        size_t n = 0;
        while (i < text.size() && n < 6 && IsHex(text[i])) {
            const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
            codePoint = codePoint * 16 + static_cast<unsigned long>(c <= '9' ? c - '0' : c - 'a' + 10);
            ++i;
            ++n;
        }
        // One blank ends a hex escape and belongs to it.
        if (i < text.size() && text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            i += 2;
        } else if (i < text.size() && IsCssSpace(text[i])) {
            ++i;
        }
        AppendUtf8(out, codePoint);
        return true;
    }
    if (text[i] == '\n') return false;  // an escaped line break is no identifier character
    out += text[i++];
    return true;
}

bool IsIdentifierChar(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '-' || c == '_' || u >= 0x80;
}

// A CSS identifier from text[i]; false when there is none.
bool ReadIdentifier(const std::string& text, size_t& i, std::string& out) {
    const size_t start = i;
    while (i < text.size()) {
        if (text[i] == '\\') {
            if (!ReadEscape(text, i, out)) return false;
        } else if (IsIdentifierChar(text[i])) {
            out += text[i++];
        } else {
            break;
        }
    }
    return i > start && !out.empty();
}

// A quoted CSS string from text[i] (a quote); false when it is not closed.
bool ReadString(const std::string& text, size_t& i, std::string& out) {
    const char quote = text[i++];
    while (i < text.size()) {
        const char c = text[i];
        if (c == quote) {
            ++i;
            return true;
        }
        if (c == '\n') return false;
        if (c == '\\') {
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                i += 2;  // a line continuation
                continue;
            }
            if (!ReadEscape(text, i, out)) return false;
            continue;
        }
        out += c;
        ++i;
    }
    return false;
}

void SkipSpaces(const std::string& text, size_t& i) {
    while (i < text.size() && IsCssSpace(text[i])) ++i;
}

// The selectors Selenium clients send for By.ID ([id="v"]), By.NAME
// ([name="v"]) and By.CLASS_NAME (.v), and #v.
FindQuery ParseCss(const std::string& selector) {
    const std::string why = "'" + selector + "' is no CSS selector this server supports: [id=\"...\"], [name=\"...\"], "
                            ".class or #id";
    FindQuery query;
    size_t i = 0;
    SkipSpaces(selector, i);
    if (i >= selector.size()) ThrowInvalidSelector("the CSS selector is empty");
    const char first = selector[i];
    if (first == '.' || first == '#') {
        ++i;
        if (!ReadIdentifier(selector, i, query.value)) ThrowInvalidSelector(why);
        query.strategy = first == '.' ? FindStrategy::ClassName : FindStrategy::AccessibilityId;
    } else if (first == '[') {
        ++i;
        SkipSpaces(selector, i);
        std::string attribute;
        if (!ReadIdentifier(selector, i, attribute)) ThrowInvalidSelector(why);
        SkipSpaces(selector, i);
        if (i >= selector.size() || selector[i] != '=') ThrowInvalidSelector(why);
        ++i;
        SkipSpaces(selector, i);
        if (i >= selector.size()) ThrowInvalidSelector(why);
        const bool bRead = (selector[i] == '"' || selector[i] == '\'') ? ReadString(selector, i, query.value)
                                                                       : ReadIdentifier(selector, i, query.value);
        if (!bRead) ThrowInvalidSelector(why);
        SkipSpaces(selector, i);
        if (i >= selector.size() || selector[i] != ']') ThrowInvalidSelector(why);
        ++i;
        if (attribute == "id") {
            query.strategy = FindStrategy::AccessibilityId;
        } else if (attribute == "name") {
            query.strategy = FindStrategy::Name;
        } else {
            ThrowInvalidSelector(why);
        }
    } else {
        ThrowInvalidSelector(why);
    }
    SkipSpaces(selector, i);
    if (i != selector.size()) ThrowInvalidSelector(why);
    return query;
}

// The item kinds whose nodes can match the query, as PageSourceOptions::kinds.
uint32_t KindsFor(const FindQuery& query) {
    if (query.strategy != FindStrategy::TagName && query.strategy != FindStrategy::ClassName) return 0xFFFFFFFFu;
    // Items carry their tag as their class name; windows any class but no
    // item's tag.
    const int kind = ItemKindOfTag(query.value);
    if (kind <= 0) return 0;
    if (kind == kItemKindAccessible || kind == kItemKindScrollingAccessible) {
        return (1u << kItemKindAccessible) | (1u << kItemKindScrollingAccessible);
    }
    return 1u << kind;
}

// The value as an item index ("42"), -1 when it is none.
int IndexOf(const std::string& value) {
    if (value.empty() || value.size() > 9) return -1;
    for (char c : value) {
        if (c < '0' || c > '9') return -1;
    }
    if (value.size() > 1 && value[0] == '0') return -1;  // "007" is no AutomationId we write
    return std::atoi(value.c_str());
}

bool Matches(const FindQuery& query, const PageNode& node) {
    switch (query.strategy) {
    case FindStrategy::Name: return node.name == query.value;
    case FindStrategy::AccessibilityId: return node.automationId == query.value;
    case FindStrategy::ClassName: return node.className == query.value;
    case FindStrategy::TagName: return node.tag == query.value;
    case FindStrategy::XPath: return false;
    }
    return false;
}

[[noreturn]] void ThrowStale(const PageNode& scope) {
    ThrowWebDriverError(WebDriverErrorCode::StaleElementReference,
                        "the " + scope.tag + " '" + scope.name + "' is no longer there");
}

}  // namespace

FindQuery ParseFindQuery(const std::string& strategy, const std::string& value) {
    FindQuery query;
    query.value = value;
    if (strategy == "name") {
        query.strategy = FindStrategy::Name;
    } else if (strategy == "accessibility id" || strategy == "id") {
        query.strategy = FindStrategy::AccessibilityId;
    } else if (strategy == "class name") {
        query.strategy = FindStrategy::ClassName;
    } else if (strategy == "tag name") {
        query.strategy = FindStrategy::TagName;
    } else if (strategy == "xpath") {
        query.strategy = FindStrategy::XPath;
        if (value.empty()) ThrowInvalidSelector("the XPath expression is empty");
    } else if (strategy == "css selector") {
        return ParseCss(value);
    } else {
        ThrowInvalidSelector("'" + strategy +
                             "' is no strategy this server supports (name, accessibility id, class name, tag name, "
                             "xpath, and css selector for [id=...], [name=...] and .class)");
    }
    return query;
}

void BuildCurrentPageSource(CSession& session, CPageSource& page) {
    const HWND root = session.RequireCurrentWindow();
    PageSourceOptions options;
    options.requestTimeoutMs = session.RequestTimeoutMs();
    std::string error;
    if (!page.Build(session.Agent(root), root, options, nullptr, &error)) {
        if (page.LastStatus() != AgentStatus::Ok) session.ThrowAgentFailure(page.LastStatus(), error);
        ThrowWebDriverError(WebDriverErrorCode::NoSuchWindow, error);
    }
    // A window that went while it was read (its application ended) leaves
    // a page of blanks, not its source.
    if (!IsWindow(root)) ThrowWebDriverError(WebDriverErrorCode::NoSuchWindow, "the window closed while it was read");
}

std::vector<PageNode> CElementFinder::Find(const FindQuery& query, const PageNode* pScope, bool bFirstOnly) {
    const int64_t implicitMs = m_session.Timeouts().implicitMs;
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(implicitMs > 0 ? implicitMs : 0);
    for (;;) {
        std::vector<PageNode> found = FindOnce(query, pScope, bFirstOnly);
        const ULONGLONG now = GetTickCount64();
        if (!found.empty() || now >= deadline) return found;
        const ULONGLONG left = deadline - now;
        Sleep(static_cast<DWORD>(left < kRetryPauseMs ? left : kRetryPauseMs));
    }
}

void CElementFinder::BuildScope(CPageSource& page, const PageNode* pScope, const PageSourceOptions& options,
                                const CPageSource::NodeVisitor& visit, int* pContext) {
    std::string error;
    bool bBuilt = false;
    if (!pScope) {
        const HWND root = m_session.RequireCurrentWindow();
        bBuilt = page.Build(m_session.Agent(root), root, options, visit, &error);
        *pContext = 0;
    } else if (!IsWindow(pScope->window)) {
        ThrowStale(*pScope);
    } else if (pScope->kind == 0) {
        bBuilt = page.Build(m_session.Agent(pScope->window), pScope->window, options, visit, &error);
        *pContext = 0;
    } else {
        bBuilt = page.BuildItems(m_session.Agent(pScope->window), pScope->window, pScope->kind,
                                 pScope->factoryArgument, options, &error);
        *pContext = -1;
        if (bBuilt) {
            for (size_t i = 0; i < page.Nodes().size(); ++i) {
                const PageNode& node = page.Nodes()[i];
                if (node.runtimeId == pScope->runtimeId && node.name == pScope->name) {
                    *pContext = static_cast<int>(i);
                    break;
                }
            }
            if (*pContext < 0) ThrowStale(*pScope);
        }
    }
    // A window that went while it was read leaves blanks, not its page.
    if (bBuilt && !IsWindow(pScope ? pScope->window : m_session.RequireCurrentWindow())) {
        bBuilt = false;
        error = "the window closed while it was read";
    }
    if (!bBuilt) {
        if (page.LastStatus() != AgentStatus::Ok) m_session.ThrowAgentFailure(page.LastStatus(), error);
        if (pScope) ThrowStale(*pScope);
        ThrowWebDriverError(WebDriverErrorCode::NoSuchWindow, error);
    }
}

std::vector<PageNode> CElementFinder::FindOnce(const FindQuery& query, const PageNode* pScope, bool bFirstOnly) {
    if (query.strategy == FindStrategy::XPath) return FindByXPath(query, pScope, bFirstOnly);
    PageSourceOptions options;
    options.kinds = KindsFor(query);
    options.requestTimeoutMs = m_session.RequestTimeoutMs();
    // Under an item the scope's own node has to be read too.
    const bool bItemScope = pScope && pScope->kind != 0;
    if (query.strategy == FindStrategy::Name && !bItemScope) {
        options.bNameFilter = true;
        options.nameFilter = query.value;
    }
    if (query.strategy == FindStrategy::AccessibilityId && !bItemScope) options.indexFilter = IndexOf(query.value);
    // An item's descendants are read whole (one control); a window's are
    // read up to the first match when one element is wanted. The scope's
    // own node never counts.
    const bool bWindowScope = pScope && pScope->kind == 0;
    CPageSource::NodeVisitor visit;
    if (bFirstOnly && (!pScope || bWindowScope)) {
        visit = [&query, bWindowScope](const PageNode& node) {
            return !(bWindowScope && node.parent < 0) && Matches(query, node);
        };
    }
    CPageSource page;
    int context = 0;
    BuildScope(page, pScope, options, visit, &context);
    std::vector<PageNode> found;
    const std::vector<PageNode>& nodes = page.Nodes();
    for (size_t i = 0; i < nodes.size(); ++i) {
        const bool bInScope = pScope ? page.IsDescendant(static_cast<int>(i), context) : true;
        if (!bInScope || !Matches(query, nodes[i])) continue;
        found.push_back(nodes[i]);
        if (bFirstOnly) break;
    }
    return found;
}

std::vector<PageNode> CElementFinder::FindByXPath(const FindQuery& query, const PageNode* pScope, bool bFirstOnly) {
    PageSourceOptions options;
    options.requestTimeoutMs = m_session.RequestTimeoutMs();
    CPageSource page;
    int context = 0;
    BuildScope(page, pScope, options, nullptr, &context);
    CXPathQuery xpath;
    std::string error;
    if (!xpath.Load(page.Xml(), &error)) ThrowWebDriverError(WebDriverErrorCode::UnknownError, error);
    std::vector<std::string> ids;
    const std::string contextId = pScope ? page.Nodes()[static_cast<size_t>(context)].runtimeId : std::string();
    if (!xpath.Select(query.value, "RuntimeId", contextId, &ids, &error)) ThrowInvalidSelector(error);
    std::vector<PageNode> found;
    for (const std::string& id : ids) {
        const int n = page.FindRuntimeId(id);
        if (n < 0) continue;
        found.push_back(page.Nodes()[static_cast<size_t>(n)]);
        if (bFirstOnly) break;
    }
    return found;
}

// Finding elements: the strategies a client names ("name", "accessibility
// id", "class name", "tag name", "xpath", and the CSS forms Selenium sends
// for By.ID, By.NAME and By.CLASS_NAME), searched over the page source of
// the current window or under an element, waiting up to the session's
// implicit wait for a first match.
//
// The attribute strategies build only what can match (no items for a
// window class, one kind for an item's tag) and stop at the first match in
// document order when one element is asked for; XPath runs over the whole
// page source with MSXML.
#pragma once
#include <string>
#include <vector>

#include "webdriver/PageSource.h"

class CSession;

enum class FindStrategy { Name, AccessibilityId, ClassName, TagName, XPath };

struct FindQuery {
    FindStrategy strategy = FindStrategy::Name;
    std::string value;  // UTF-8; an attribute's value, or the XPath expression
};

// The query for the request's "using" and "value". Throws "invalid
// selector" for a strategy it does not support and for a CSS selector
// other than [id=...], [name=...], .class and #id.
FindQuery ParseFindQuery(const std::string& strategy, const std::string& value);

class CElementFinder {
public:
    explicit CElementFinder(CSession& session) : m_session(session) {}
    CElementFinder(const CElementFinder&) = delete;
    CElementFinder& operator=(const CElementFinder&) = delete;

    // The matches in document order (at most one for bFirstOnly), under
    // pScope's element (its descendants) or in the current window's page
    // source (nullptr). Waits the implicit wait while nothing matches.
    // Throws "invalid selector" for a bad expression, "stale element
    // reference" when pScope's element is gone, "no such window" and
    // "timeout" as the session does.
    std::vector<PageNode> Find(const FindQuery& query, const PageNode* pScope, bool bFirstOnly);

private:
    std::vector<PageNode> FindOnce(const FindQuery& query, const PageNode* pScope, bool bFirstOnly);
    std::vector<PageNode> FindByXPath(const FindQuery& query, const PageNode* pScope, bool bFirstOnly);
    // Builds the page source that pScope's element (or the current window)
    // heads; *pContext receives the node number of the scope in it.
    void BuildScope(CPageSource& page, const PageNode* pScope, const PageSourceOptions& options,
                    const CPageSource::NodeVisitor& visit, int* pContext);

    CSession& m_session;
};

// The page source of the session's current window, built through the agent
// (throws as Find does).
void BuildCurrentPageSource(CSession& session, CPageSource& page);

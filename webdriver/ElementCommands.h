// The element commands of the WebDriver server: the page source, finding,
// and what a client does with an element it found (click, text, rect,
// attributes, state, screenshot, typing, clearing).
//
// An element is a node of a page source: a window, or an item of a control
// with the form its snapshot recorded. Each command finds the item again
// (a fresh snapshot of its control tells it apart; LocateItem, which scrolls
// it into view, then gives its place to what needs one) and answers "stale
// element reference" when it is gone.
#pragma once
#include <windows.h>

#include <string>

#include <nlohmann/json.hpp>

class CCommandContext;
class CSession;

nlohmann::json GetPageSource(CCommandContext& context);
nlohmann::json FindElement(CCommandContext& context);
nlohmann::json FindElements(CCommandContext& context);
nlohmann::json FindElementFromElement(CCommandContext& context);
nlohmann::json FindElementsFromElement(CCommandContext& context);
nlohmann::json GetActiveElement(CCommandContext& context);

nlohmann::json ClickElement(CCommandContext& context);
nlohmann::json ClearElement(CCommandContext& context);
nlohmann::json SendKeysToElement(CCommandContext& context);
nlohmann::json GetElementText(CCommandContext& context);
nlohmann::json GetElementRect(CCommandContext& context);
nlohmann::json GetElementAttribute(CCommandContext& context);
nlohmann::json GetElementProperty(CCommandContext& context);
nlohmann::json GetElementTagName(CCommandContext& context);
nlohmann::json IsElementDisplayed(CCommandContext& context);
nlohmann::json IsElementEnabled(CCommandContext& context);
nlohmann::json IsElementSelected(CCommandContext& context);
nlohmann::json TakeElementScreenshot(CCommandContext& context);
// Answers the two scripts plain Selenium clients send for
// WebElement.get_attribute and is_displayed (by their leading comments
// "/* getAttribute */" and "/* isDisplayed */"); any other script is
// "unsupported operation": there is no script engine here.
nlohmann::json ExecuteSyncScript(CCommandContext& context);

// The element's rectangle on the screen, found again (for pointer actions
// with an element origin).
RECT ElementScreenRect(CSession& session, const std::string& elementId);

// The actions commands: a W3C input-source list run tick by tick with real
// input (pointer move, down, up, pause; key down, up, pause), and the release
// of everything pressed.
#pragma once
#include <windows.h>

#include <string>

#include <nlohmann/json.hpp>

class CCommandContext;
class CSession;

nlohmann::json PerformActions(CCommandContext& context);
nlohmann::json ReleaseActions(CCommandContext& context);

// How a pointer move with an element as its origin finds the element's
// rectangle on the screen; set by the element commands (throws "no such
// element" or "stale element reference"). Without it such moves are
// "unsupported operation".
using ElementScreenRectLookup = RECT (*)(CSession& session, const std::string& elementId);
void SetElementScreenRectLookup(ElementScreenRectLookup lookup);

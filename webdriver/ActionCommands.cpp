// Perform actions and release actions. The whole list is checked before any
// input is sent, then run tick by tick: in each tick every source does its
// action, and the tick lasts as long as its longest pause or move.
//
// The current window comes to the front before the input. Pointer
// coordinates with the origin "viewport" are relative to the current window's
// top-left corner on the screen; "pointer" to where the pointer is; an
// element to the centre of its rectangle.
#include "webdriver/ActionCommands.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "webdriver/CommandContext.h"
#include "webdriver/InputSynthesis.h"
#include "webdriver/Session.h"
#include "webdriver/WebDriverError.h"

namespace {

const char kElementKey[] = "element-6066-11e4-a52e-4f735466cecf";
// The server has one command thread: a list of actions may not hold it
// for longer than this.
const int64_t kMaxTotalMs = 60000;

ElementScreenRectLookup g_elementRectLookup = nullptr;

enum class ActionType { Pause, KeyDown, KeyUp, PointerDown, PointerUp, PointerMove, PointerCancel, Scroll };
enum class Origin { Viewport, Pointer, Element };

struct Action {
    ActionType type = ActionType::Pause;
    int64_t durationMs = 0;
    char32_t key = 0;
    int button = 0;
    double x = 0, y = 0;
    int64_t deltaX = 0, deltaY = 0;
    Origin origin = Origin::Viewport;
    std::string elementId;
};

struct Source {
    std::string type;
    std::vector<Action> actions;
};

std::string Where(size_t source, size_t action) {
    return "actions[" + std::to_string(source) + "].actions[" + std::to_string(action) + "]";
}

int64_t ReadDuration(const nlohmann::json& item, const std::string& where) {
    if (!item.contains("duration") || item.at("duration").is_null()) return 0;
    int64_t ms = 0;
    if (!JsonSafeInteger(item.at("duration"), &ms) || ms < 0) {
        ThrowInvalidArgument(where + ".duration must be an integer of 0 or more");
    }
    return ms;
}

double ReadCoordinate(const nlohmann::json& item, const char* name, const std::string& where, bool bRequired) {
    if (!item.contains(name)) {
        if (bRequired) ThrowInvalidArgument(where + " has no \"" + name + "\"");
        return 0;
    }
    const nlohmann::json& value = item.at(name);
    if (!value.is_number() || !std::isfinite(value.get<double>()) || std::fabs(value.get<double>()) > 1e9) {
        ThrowInvalidArgument(where + "." + name + " must be a number");
    }
    return value.get<double>();
}

void ReadOrigin(const nlohmann::json& item, const std::string& where, Action* pAction) {
    if (!item.contains("origin")) return;
    const nlohmann::json& origin = item.at("origin");
    if (origin == "viewport") {
        pAction->origin = Origin::Viewport;
    } else if (origin == "pointer") {
        pAction->origin = Origin::Pointer;
    } else if (origin.is_object() && origin.contains(kElementKey) && origin.at(kElementKey).is_string()) {
        pAction->origin = Origin::Element;
        pAction->elementId = origin.at(kElementKey).get<std::string>();
    } else {
        ThrowInvalidArgument(where + ".origin must be \"viewport\", \"pointer\" or an element");
    }
}

Action ReadAction(const std::string& sourceType, const nlohmann::json& item, const std::string& where) {
    if (!item.is_object()) ThrowInvalidArgument(where + " must be an object");
    if (!item.contains("type") || !item.at("type").is_string()) ThrowInvalidArgument(where + " has no \"type\"");
    const std::string type = item.at("type").get<std::string>();
    Action action;
    if (type == "pause") {
        action.type = ActionType::Pause;
        action.durationMs = ReadDuration(item, where);
        return action;
    }
    if (sourceType == "key" && (type == "keyDown" || type == "keyUp")) {
        action.type = type == "keyDown" ? ActionType::KeyDown : ActionType::KeyUp;
        std::u32string keys;
        if (!item.contains("value") || !item.at("value").is_string() ||
            !CInputSynthesizer::DecodeUtf8(item.at("value").get<std::string>(), &keys) || keys.size() != 1) {
            ThrowInvalidArgument(where + ".value must be a string of one character");
        }
        action.key = keys[0];
        return action;
    }
    if (sourceType == "pointer" && (type == "pointerDown" || type == "pointerUp")) {
        action.type = type == "pointerDown" ? ActionType::PointerDown : ActionType::PointerUp;
        int64_t button = 0;
        if (!item.contains("button") || !JsonSafeInteger(item.at("button"), &button) || button < 0) {
            ThrowInvalidArgument(where + ".button must be an integer of 0 or more");
        }
        if (button > 4) {
            ThrowWebDriverError(WebDriverErrorCode::UnsupportedOperation,
                                where + ": a mouse has buttons 0 to 4, not " + std::to_string(button));
        }
        action.button = static_cast<int>(button);
        return action;
    }
    if (sourceType == "pointer" && type == "pointerMove") {
        action.type = ActionType::PointerMove;
        action.durationMs = ReadDuration(item, where);
        action.x = ReadCoordinate(item, "x", where, true);
        action.y = ReadCoordinate(item, "y", where, true);
        ReadOrigin(item, where, &action);
        return action;
    }
    if (sourceType == "pointer" && type == "pointerCancel") {
        action.type = ActionType::PointerCancel;
        return action;
    }
    if (sourceType == "wheel" && type == "scroll") {
        action.type = ActionType::Scroll;
        action.durationMs = ReadDuration(item, where);
        action.x = ReadCoordinate(item, "x", where, true);
        action.y = ReadCoordinate(item, "y", where, true);
        int64_t delta = 0;
        for (const char* name : {"deltaX", "deltaY"}) {
            if (!item.contains(name) || !JsonSafeInteger(item.at(name), &delta) || std::llabs(delta) > 1000000) {
                ThrowInvalidArgument(where + "." + name + " must be an integer");
            }
            (std::string(name) == "deltaX" ? action.deltaX : action.deltaY) = delta;
        }
        ReadOrigin(item, where, &action);
        if (action.origin == Origin::Pointer) ThrowInvalidArgument(where + ": a scroll cannot start at the pointer");
        return action;
    }
    ThrowInvalidArgument(where + ": \"" + type + "\" is no action of a " + sourceType + " source");
}

std::vector<Source> ReadSources(const nlohmann::json& list) {
    std::vector<Source> sources;
    for (size_t s = 0; s < list.size(); ++s) {
        const nlohmann::json& given = list[s];
        const std::string where = "actions[" + std::to_string(s) + "]";
        if (!given.is_object()) ThrowInvalidArgument(where + " must be an object");
        if (!given.contains("type") || !given.at("type").is_string()) ThrowInvalidArgument(where + " has no \"type\"");
        if (!given.contains("id") || !given.at("id").is_string()) ThrowInvalidArgument(where + " has no string \"id\"");
        Source source;
        source.type = given.at("type").get<std::string>();
        if (source.type != "none" && source.type != "key" && source.type != "pointer" && source.type != "wheel") {
            ThrowInvalidArgument(where + ".type must be \"none\", \"key\", \"pointer\" or \"wheel\"");
        }
        if (source.type == "pointer" && given.contains("parameters")) {
            const nlohmann::json& parameters = given.at("parameters");
            if (!parameters.is_object()) ThrowInvalidArgument(where + ".parameters must be an object");
            if (parameters.contains("pointerType")) {
                const nlohmann::json& pointerType = parameters.at("pointerType");
                if (pointerType != "mouse" && pointerType != "pen" && pointerType != "touch") {
                    ThrowInvalidArgument(where + ".parameters.pointerType must be \"mouse\", \"pen\" or \"touch\"");
                }
            }
        }
        if (!given.contains("actions") || !given.at("actions").is_array()) {
            ThrowInvalidArgument(where + ".actions must be an array");
        }
        const nlohmann::json& actions = given.at("actions");
        for (size_t a = 0; a < actions.size(); ++a) {
            source.actions.push_back(ReadAction(source.type, actions[a], Where(s, a)));
        }
        sources.push_back(std::move(source));
    }
    return sources;
}

POINT TargetPoint(CSession& session, const Action& action) {
    double baseX = 0, baseY = 0;
    switch (action.origin) {
    case Origin::Viewport: {
        RECT r = {0, 0, 0, 0};
        GetWindowRect(session.RequireCurrentWindow(), &r);
        baseX = r.left;
        baseY = r.top;
        break;
    }
    case Origin::Pointer: {
        const POINT now = session.Input().Position();
        baseX = now.x;
        baseY = now.y;
        break;
    }
    case Origin::Element: {
        if (!g_elementRectLookup) {
            ThrowWebDriverError(WebDriverErrorCode::UnsupportedOperation, "elements cannot be an action's origin here");
        }
        const RECT r = g_elementRectLookup(session, action.elementId);
        baseX = (r.left + r.right) / 2;
        baseY = (r.top + r.bottom) / 2;
        break;
    }
    }
    const double x = std::floor(baseX + action.x), y = std::floor(baseY + action.y);
    const double left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const double right = left + GetSystemMetrics(SM_CXVIRTUALSCREEN), bottom = top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (x < left || y < top || x >= right || y >= bottom) {
        ThrowWebDriverError(WebDriverErrorCode::MoveTargetOutOfBounds,
                            "the point (" + std::to_string(static_cast<long long>(x)) + ", " +
                                std::to_string(static_cast<long long>(y)) + ") is off the screen");
    }
    return {static_cast<LONG>(x), static_cast<LONG>(y)};
}

void Refuse(bool bTaken, const std::string& what) {
    if (!bTaken) ThrowWebDriverError(WebDriverErrorCode::UnknownError, what + ": the system did not take the input");
}

void Dispatch(CSession& session, const Action& action) {
    CInputSynthesizer& input = session.Input();
    switch (action.type) {
    case ActionType::Pause:
    case ActionType::PointerCancel:
        break;
    case ActionType::KeyDown: Refuse(input.KeyDown(action.key), "key down"); break;
    case ActionType::KeyUp: Refuse(input.KeyUp(action.key), "key up"); break;
    case ActionType::PointerDown: Refuse(input.ButtonDown(action.button), "pointer down"); break;
    case ActionType::PointerUp: Refuse(input.ButtonUp(action.button), "pointer up"); break;
    case ActionType::PointerMove: Refuse(input.MoveTo(TargetPoint(session, action)), "pointer move"); break;
    case ActionType::Scroll: {
        Refuse(input.MoveTo(TargetPoint(session, action)), "scroll");
        INPUT wheel[2] = {};
        UINT count = 0;
        // WebDriver scrolls down for a positive deltaY; a wheel turned
        // towards the user has a negative delta.
        if (action.deltaY != 0) {
            wheel[count].type = INPUT_MOUSE;
            wheel[count].mi.dwFlags = MOUSEEVENTF_WHEEL;
            wheel[count++].mi.mouseData = static_cast<DWORD>(static_cast<LONG>(-action.deltaY));
        }
        if (action.deltaX != 0) {
            wheel[count].type = INPUT_MOUSE;
            wheel[count].mi.dwFlags = MOUSEEVENTF_HWHEEL;
            wheel[count++].mi.mouseData = static_cast<DWORD>(static_cast<LONG>(action.deltaX));
        }
        if (count) Refuse(SendInput(count, wheel, sizeof(INPUT)) == count, "scroll");
        break;
    }
    }
}

}  // namespace

void SetElementScreenRectLookup(ElementScreenRectLookup lookup) { g_elementRectLookup = lookup; }

nlohmann::json PerformActions(CCommandContext& context) {
    CSession& session = context.Session();
    const std::vector<Source> sources = ReadSources(context.RequireArray("actions"));
    size_t ticks = 0;
    int64_t totalMs = 0;
    for (const Source& source : sources) ticks = std::max(ticks, source.actions.size());
    std::vector<int64_t> tickMs(ticks, 0);
    for (const Source& source : sources) {
        for (size_t t = 0; t < source.actions.size(); ++t) tickMs[t] = std::max(tickMs[t], source.actions[t].durationMs);
    }
    for (int64_t ms : tickMs) {
        totalMs += ms;
        if (totalMs > kMaxTotalMs) {
            ThrowInvalidArgument("the actions would last more than " + std::to_string(kMaxTotalMs) + " ms");
        }
    }
    // Input goes to the window the session is on: it comes to the front
    // first, above the application's other windows.
    BringWindowToFront(session.RequireCurrentWindow());
    for (size_t t = 0; t < ticks; ++t) {
        const DWORD start = GetTickCount();
        for (const Source& source : sources) {
            if (t < source.actions.size()) Dispatch(session, source.actions[t]);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (static_cast<int64_t>(elapsed) < tickMs[t]) Sleep(static_cast<DWORD>(tickMs[t] - elapsed));
    }
    session.Input().Settle();
    return nullptr;
}

nlohmann::json ReleaseActions(CCommandContext& context) {
    context.Session().Input().ReleaseAll();
    return nullptr;
}

// The registered messages of the agent protocol, in registration order: the
// one table from which the agent registers its ids into the shared state,
// dispatches requests, and from which the controller takes its ids.
//
// Row: X(Id, "name", slot, handler)
//   slot     where the agent keeps the id: a field of the shared state, or a
//            per-process global for a message every process registers itself
//   handler  the agent's handler for the request (MSG&), nullptr for a message
//            that is no request
// Only the agent expands slot and handler; the controller takes Id and name.
#pragma once

#define VINTREL_AGENT_MESSAGES(X)                                                                 \
    /* the envelope that carries every request */                                                \
    X(Envelope, "TavmorVNLMessage", g_sharedState.nEnvelopeMsg, nullptr)                             \
    /* request: the item under a screen point */                                                 \
    X(GetItemRect, "TavmorGetItemRect", g_sharedState.nGetItemRectMsg, OnGetItemRect)             \
    /* request: describe a window and an item in it */                                           \
    X(InfoProbe, "TavmorInfoProbe", g_sharedState.nInfoProbeMsg, OnInfoProbe)                     \
    /* request: find a recorded item again */                                                    \
    X(LocateItem, "TavmorLocateItem", g_sharedState.nLocateItemMsg, OnLocateItem)                 \
    /* reply to every request; as a request, a ping; the message-watch notification */           \
    X(AgentReturn, "TavmorAgentReturn", g_sharedState.nAgentReturnMsg, OnPing)                    \
    /* request: start or stop the menu probe */                                                  \
    X(SetMenuProbe, "TavmorSetMenuProbe", g_sharedState.nSetMenuProbeMsg, OnSetMenuProbe)         \
    /* the menu probe's result, sent to the controller */                                        \
    X(MenuResult, "TavmorMenuResult", g_sharedState.nMenuResultMsg, nullptr)                         \
    /* the spy's notification; registered by every process for itself */                        \
    X(SpyWindow, "TavmorSpyWindow", g_nSpyWindowMsg, nullptr)                                        \
    /* request: a data-message command */                                                        \
    X(DataMessage, "TavmorDataMessage", g_sharedState.nDataMessageMsg, OnDataMessage)       \
    /* request: every item of a control, a page at a time; registered by every process */   \
    X(ItemList, "TavmorItemList", g_nItemListMsg, OnItemList)

// Name of the shared record's file mapping, created by the controller.
#define VINTREL_MAPPING_NAME "TavmorAgentMapFile"

// The names the agent and the controller's proxy window share. While the
// scroll-into-view accessible item (kind 13) scrolls, the agent finds the
// proxy by its class (no title), posts it the click message with a screen
// point (wParam x, lParam y) and waits until the controller sets the
// task-done event (auto-reset, once per click) or the cancel event
// (manual-reset: every wait ends until the controller resets it).
struct ProxyNames {
    static constexpr char kClassName[] = "TavmorProxyClass";
    static constexpr char kMouseClickMsg[] = "TavmorMouseClick";
    // Registered by the agent's locator; nothing posts it.
    static constexpr char kPosWindowMsg[] = "TavmorPosWindow";
    static constexpr char kTaskDoneEvent[] = "ZEL_TaskDone";
    static constexpr char kCancelEvent[] = "EventTavmorCancel";
};

// Typed calls for the two item requests, over an open and hooked client.
//
//   ItemAtResult at = GetItemRect(client, listView, kItemKindListView, x, y);
//   if (at.status == AgentStatus::Ok && at.index >= 0) ...
//   LocateResult found = LocateItem(client, listView, kItemKindListView, 0, recordedForm,
//                                   SearchArgument(ReportedPart::kLabel));
//   if (found.status == AgentStatus::Ok && found.found) ... found.form.rect ...
#pragma once
#include <windows.h>
#include <cstdint>

#include "client/AgentClient.h"
#include "client/LocatorForm.h"

struct ItemAtResult {
    AgentStatus status = AgentStatus::NotOpen;
    int index = -1;
    RECT rect = {0, 0, 0, 0};  // coordinates of the kind (client of the control, mostly)
};

struct LocateResult {
    AgentStatus status = AgentStatus::NotOpen;
    bool found = false;
    // The form the agent returned (with the rectangle it found); only when
    // hasForm, i.e. the agent had a locator for the kind.
    bool hasForm = false;
    LocatorForm form;
};

// "TavmorGetItemRect" for the item of kind under the screen point (x, y).
ItemAtResult GetItemRect(CAgentClient& client, HWND window, int kind, int x, int y,
                         uint32_t factoryArgument = 0, DWORD timeoutMs = CAgentClient::kDefaultTimeoutMs);

// "TavmorLocateItem": finds the item recorded in form (of form.nKind, or
// kind when form.nKind is 0) again. status BadRequest when the form cannot
// be encoded; BadReply when the reply's form cannot be decoded.
LocateResult LocateItem(CAgentClient& client, HWND window, int kind, uint32_t factoryArgument,
                        const LocatorForm& form, uint32_t searchArgument,
                        DWORD timeoutMs = CAgentClient::kDefaultTimeoutMs);

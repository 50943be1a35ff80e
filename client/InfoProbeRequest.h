// "TavmorInfoProbe" over an open and hooked client: describes a window of
// the target and optionally one item in it.
//
//   ProbeResult probe = ProbeWindow(client, listView, true, 7, 12, 0);
//   if (probe.status == AgentStatus::Ok) SaveDescriptionFile(path, probe.raw, &error);
#pragma once
#include <windows.h>
#include <cstdint>
#include <vector>

#include "client/AgentClient.h"
#include "client/WindowDescriptionReader.h"

struct ProbeResult {
    AgentStatus status = AgentStatus::NotOpen;
    WindowDescriptionForm description;
    std::vector<uint8_t> raw;  // the serialised description, as the agent wrote it
};

// Sends the probe to window. kind, index and factoryArgument are sent in any
// case but used by the agent only when wantItem. status BadReply when the
// reply does not decode as a description.
ProbeResult ProbeWindow(CAgentClient& client, HWND window, bool wantItem, int kind, uint32_t index,
                        uint32_t factoryArgument, DWORD timeoutMs = CAgentClient::kDefaultTimeoutMs);

// The names both sides of the wire must agree on: the registered messages,
// in their registration order, and the shared record's mapping.
#pragma once

namespace wire {
const char kEnvelopeMessage[] = "TavmorVNLMessage";
const char kGetItemRectMessage[] = "TavmorGetItemRect";
const char kInfoProbeMessage[] = "TavmorInfoProbe";
const char kLocateItemMessage[] = "TavmorLocateItem";
const char kAgentReturnMessage[] = "TavmorAgentReturn";
const char kSetMenuProbeMessage[] = "TavmorSetMenuProbe";
const char kMenuResultMessage[] = "TavmorMenuResult";
const char kSpyWindowMessage[] = "TavmorSpyWindow";
const char kDataMessage[] = "TavmorDataMessage";
const char kMappingName[] = "TavmorAgentMapFile";
}  // namespace wire

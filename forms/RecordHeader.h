// The header word at offset 0 of the shared record "TavmorAgentMapFile":
// it tells both sides what the record holds now.
#pragma once
#include <cstdint>

struct RecordHeader {
    // Written by the controller in front of every request.
    static constexpr uint32_t kRequestWord = 0x12345678;
    // Written by the agent in front of every reply.
    static constexpr uint32_t kReplyWord = 0;
    // Stamped by the agent when the request or its reply did not fit the
    // record: the request failed, and whatever follows is no reply.
    static constexpr uint32_t kOverrunWord = 0xFFFFFFFF;
    // Written by the controller over a request that timed out, so that its
    // envelope, should it still run, finds no request.
    static constexpr uint32_t kWithdrawnWord = 0xFFFFFFFE;
};

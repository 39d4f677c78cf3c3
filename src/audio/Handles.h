#pragma once

#include <cstdint>

namespace audio {

// Handles are plain values: a stale one is recognised and refused, never dereferenced.
struct StreamHandle {
    uint32_t id = 0;

    explicit operator bool() const { return id != 0; }
    bool operator==(const StreamHandle&) const = default;
};

struct ChannelHandle {
    uint32_t slot = 0;
    uint32_t serial = 0;  // 0: none; bumped each time the slot starts a new play

    explicit operator bool() const { return serial != 0; }
    bool operator==(const ChannelHandle&) const = default;
};

}  // namespace audio

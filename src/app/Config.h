#pragma once

#include <functional>
#include <string>

#include "core/Stream.h"

// The configuration file: an envelope of fixed markers around one serialised
// record. All integers are 32-bit little-endian:
//   0x61746164 ("data"), the record, 0x00646E65 ("end\0"), the byte count up
//   to and including the "end" marker plus this count field's start (n + 8).
// The same routine stores and loads the record, depending on the stream.
using ConfigSerializer = std::function<void(Stream&)>;

constexpr uint32_t CONFIG_BEGIN_MARK = 0x61746164;
constexpr uint32_t CONFIG_END_MARK = 0x00646E65;

// Wraps a record in the envelope.
std::string WrapConfig(const std::string& record);

// Loads the configuration file at path through serialize. A missing file loads
// nothing and leaves the state alone. Any other failure (a marker or the
// length does not match, data ends early or runs on, a part rejects its data)
// restores the state that was held before the load. True when the file was
// read without error.
bool LoadConfig(const std::string& path, const ConfigSerializer& serialize);

// Loads from bytes already in memory, with the same rules as LoadConfig.
bool LoadConfigData(const std::string& data, const ConfigSerializer& serialize);

// Stores the record into the file at path, through a temporary file beside it
// that replaces the old file only once it is complete. True on success.
bool StoreConfig(const std::string& path, const ConfigSerializer& serialize);

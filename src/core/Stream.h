#pragma once

#include <cstdint>
#include <string>

#include "core/Value.h"

// Binary serialisation stream: one routine both stores and loads a state,
// depending on the stream's direction (`ar % field`). Integers are
// little-endian. A load that runs past the data or meets a malformed field
// sets the error flag; later reads then leave their targets untouched.
class Stream {
public:
    static Stream ForStoring() { return Stream(std::string(), false); }
    static Stream ForLoading(std::string data) { return Stream(std::move(data), true); }

    bool IsLoading() const { return loading_; }
    bool IsStoring() const { return !loading_; }
    bool IsError() const { return error_; }
    void SetError() { error_ = true; }
    bool AtEnd() const { return pos_ >= data_.size(); }
    size_t Remaining() const { return data_.size() - pos_; }

    // Everything stored so far (storing) or the whole input (loading).
    const std::string& Data() const { return data_; }

    Stream& operator%(uint32_t& v);
    Stream& operator%(int32_t& v);
    Stream& operator%(int64_t& v);
    Stream& operator%(uint8_t& v);
    Stream& operator%(bool& v);
    Stream& operator%(float& v);
    Stream& operator%(double& v);
    // Text: 32-bit byte count, then the bytes.
    Stream& operator%(String& v);

    // A fixed marker: stored as given; on loading a different value is an error.
    Stream& Magic(uint32_t value);

private:
    Stream(std::string data, bool loading) : data_(std::move(data)), loading_(loading) {}

    void Bytes(void* p, size_t n);

    std::string data_;
    size_t pos_ = 0;
    bool loading_;
    bool error_ = false;
};

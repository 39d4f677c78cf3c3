#include "core/Stream.h"

#include <bit>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "stream layout assumes a little-endian host");

void Stream::Bytes(void* p, size_t n)
{
    if (loading_) {
        if (error_ || Remaining() < n) {
            error_ = true;
            return;
        }
        std::memcpy(p, data_.data() + pos_, n);
        pos_ += n;
    } else {
        data_.append(static_cast<const char*>(p), n);
    }
}

Stream& Stream::operator%(uint32_t& v) { Bytes(&v, sizeof v); return *this; }
Stream& Stream::operator%(int32_t& v) { Bytes(&v, sizeof v); return *this; }
Stream& Stream::operator%(int64_t& v) { Bytes(&v, sizeof v); return *this; }
Stream& Stream::operator%(uint8_t& v) { Bytes(&v, sizeof v); return *this; }
Stream& Stream::operator%(float& v) { Bytes(&v, sizeof v); return *this; }
Stream& Stream::operator%(double& v) { Bytes(&v, sizeof v); return *this; }

Stream& Stream::operator%(bool& v)
{
    uint8_t b = v ? 1 : 0;
    *this % b;
    if (loading_ && !error_) {
        if (b > 1)
            error_ = true;
        else
            v = b != 0;
    }
    return *this;
}

Stream& Stream::operator%(String& v)
{
    uint32_t n = static_cast<uint32_t>(v.size());
    *this % n;
    if (!loading_) {
        data_ += v;
        return *this;
    }
    if (error_ || Remaining() < n) {
        error_ = true;
        return *this;
    }
    v.assign(data_, pos_, n);
    pos_ += n;
    return *this;
}

Stream& Stream::Magic(uint32_t value)
{
    uint32_t v = value;
    *this % v;
    if (loading_ && v != value)
        error_ = true;
    return *this;
}

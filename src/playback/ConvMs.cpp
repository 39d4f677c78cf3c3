#include "playback/ConvMs.h"

#include <cstdio>

String FormatMs(int ms)
{
    // C++ division truncates toward zero and remainders keep the dividend's
    // sign, which gives every field of a negative time its own minus sign.
    const int hundredths = (ms / 10) % 100;
    const int seconds = (ms / 1000) % 60;
    const int minutes = (ms / 1000) / 60;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", minutes, seconds, hundredths);
    return buf;
}

Value ConvMs::Format(const Value& ms) const
{
    const int value = ms.ToInt();
    if (value == INT_NULL)
        return String();
    return FormatMs(value);
}

const ConvMs& ConvMs::Instance()
{
    static const ConvMs instance;
    return instance;
}

Value ConvMsFormat(const Value& ms)
{
    return ConvMs::Instance().Format(ms);
}

#pragma once

#include "core/Value.h"

// Milliseconds as minutes, seconds and hundredths: "%02d:%02d:%02d".
// Minutes are not wrapped into hours (one hour is "60:00:00"); a negative
// input gives each field its own sign (-1500 ms is "00:-1:-50").
String FormatMs(int ms);

// The value converter of the track grids' "Length" column and of the elapsed
// time: turns a value in milliseconds into its time text. Only the formatting
// direction is converted; text typed into such a column is taken as it is.
class ConvMs {
public:
    // The value is read as an integer. A null value (no length known), or one
    // with no integer reading, gives empty text rather than the time text of
    // the integer null ("-35791:-23:-64").
    Value Format(const Value& ms) const;
    Value operator()(const Value& ms) const { return Format(ms); }

    // The one instance shared by every grid column, created on first use.
    static const ConvMs& Instance();
};

// Plain-function form of the shared converter, for code that takes a
// function pointer or std::function as a column converter.
Value ConvMsFormat(const Value& ms);

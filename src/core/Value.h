#pragma once

#include <compare>
#include <cstdint>
#include <limits>
#include <string>
#include <variant>

// Text is UTF-8 in `String` and UTF-32 in `WString`.
using String = std::string;
using WString = std::wstring;

// The null of each scalar kind: a value that holds it counts as Null.
inline constexpr int INT_NULL = std::numeric_limits<int>::min();
inline constexpr int64_t INT64_NULL = std::numeric_limits<int64_t>::min();
inline constexpr double DOUBLE_NULL = -std::numeric_limits<double>::infinity();

struct Date {
    static constexpr int kNullYear = -32768;
    int year = kNullYear;
    int month = 0;
    int day = 0;

    bool IsNull() const { return year == kNullYear; }
    auto operator<=>(const Date&) const = default;
};

struct Time {
    static constexpr int kNullYear = Date::kNullYear;
    int year = kNullYear;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool IsNull() const { return year == kNullYear; }
    auto operator<=>(const Time&) const = default;
};

enum class ValueKind { Void, Int, Double, Int64, String, WString, Date, Time };

// The variant carried by grid cells, SQL parameters and results, and audio tags.
class Value {
public:
    Value() = default;
    Value(int v) : data_(v) {}
    Value(bool v) : data_(v ? 1 : 0) {}
    // Any other pointer would silently become a bool.
    Value(const void*) = delete;
    Value(double v) : data_(v) {}
    Value(int64_t v) : data_(v) {}
    Value(const char* v) : data_(String(v)) {}
    Value(const wchar_t* v) : data_(WString(v)) {}
    Value(String v) : data_(std::move(v)) {}
    Value(WString v) : data_(std::move(v)) {}
    Value(Date v) : data_(v) {}
    Value(Time v) : data_(v) {}

    ValueKind Kind() const { return static_cast<ValueKind>(data_.index()); }

    // True for Void, for the null of a scalar kind, and for empty text.
    bool IsNull() const;
    bool IsVoid() const { return Kind() == ValueKind::Void; }
    bool IsNumber() const;
    bool IsText() const { return Kind() == ValueKind::String || Kind() == ValueKind::WString; }

    // Conversions give the null of the target kind when the value has no such reading.
    int ToInt() const;
    int64_t ToInt64() const;
    double ToDouble() const;
    // Text form for display and searching: numbers in decimal, dates as YYYY-MM-DD; Null gives "".
    String ToString() const;
    WString ToWString() const;

    // Direct access; the value must be of the named kind.
    const String& GetString() const { return std::get<String>(data_); }
    const WString& GetWString() const { return std::get<WString>(data_); }
    Date GetDate() const { return std::get<Date>(data_); }
    Time GetTime() const { return std::get<Time>(data_); }

    bool operator==(const Value& other) const { return data_ == other.data_; }

private:
    std::variant<std::monostate, int, double, int64_t, String, WString, Date, Time> data_;
};

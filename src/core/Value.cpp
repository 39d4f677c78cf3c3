#include "core/Value.h"

#include <cmath>
#include <cstdio>

#include "core/Utf8.h"

namespace {

template <class... Fs>
struct Overloaded : Fs... {
    using Fs::operator()...;
};
// Spelled out for compilers that do not yet deduce aggregate template arguments.
template <class... Fs>
Overloaded(Fs...) -> Overloaded<Fs...>;

}  // namespace

bool Value::IsNull() const
{
    return std::visit(Overloaded{
                          [](std::monostate) { return true; },
                          [](int v) { return v == INT_NULL; },
                          [](double v) { return v == DOUBLE_NULL || std::isnan(v); },
                          [](int64_t v) { return v == INT64_NULL; },
                          [](const String& v) { return v.empty(); },
                          [](const WString& v) { return v.empty(); },
                          [](Date v) { return v.IsNull(); },
                          [](Time v) { return v.IsNull(); },
                      },
                      data_);
}

bool Value::IsNumber() const
{
    const ValueKind k = Kind();
    return k == ValueKind::Int || k == ValueKind::Double || k == ValueKind::Int64;
}

int64_t Value::ToInt64() const
{
    if (IsNull())
        return INT64_NULL;
    switch (Kind()) {
    case ValueKind::Int: return std::get<int>(data_);
    case ValueKind::Int64: return std::get<int64_t>(data_);
    case ValueKind::Double: {
        const double d = std::get<double>(data_);
        if (d >= -9.2e18 && d <= 9.2e18)
            return static_cast<int64_t>(d);
        return INT64_NULL;
    }
    default: return INT64_NULL;
    }
}

int Value::ToInt() const
{
    const int64_t v = ToInt64();
    if (v == INT64_NULL || v <= INT_NULL || v > std::numeric_limits<int>::max())
        return INT_NULL;
    return static_cast<int>(v);
}

double Value::ToDouble() const
{
    if (IsNull())
        return DOUBLE_NULL;
    switch (Kind()) {
    case ValueKind::Int: return std::get<int>(data_);
    case ValueKind::Int64: return static_cast<double>(std::get<int64_t>(data_));
    case ValueKind::Double: return std::get<double>(data_);
    default: return DOUBLE_NULL;
    }
}

String Value::ToString() const
{
    if (IsNull())
        return {};
    char buf[64];
    return std::visit(Overloaded{
                          [](std::monostate) { return String(); },
                          [](int v) { return std::to_string(v); },
                          [&](double v) {
                              std::snprintf(buf, sizeof buf, "%.10g", v);
                              return String(buf);
                          },
                          [](int64_t v) { return std::to_string(v); },
                          [](const String& v) { return v; },
                          [](const WString& v) { return WideToUtf8(v); },
                          [&](Date v) {
                              std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", v.year, v.month, v.day);
                              return String(buf);
                          },
                          [&](Time v) {
                              std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", v.year, v.month,
                                            v.day, v.hour, v.minute, v.second);
                              return String(buf);
                          },
                      },
                      data_);
}

WString Value::ToWString() const
{
    if (Kind() == ValueKind::WString)
        return std::get<WString>(data_);
    return Utf8ToWide(ToString());
}

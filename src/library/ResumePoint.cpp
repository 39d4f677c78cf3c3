#include "library/ResumePoint.h"

#include <charconv>

#include "library/SettingsDb.h"

namespace {

constexpr char kResumeKey[] = "ResumePlaying";

// One decimal number at `at`, then `separator` (or the end when it is 0).
template <typename Number>
bool ReadNumber(const char*& at, const char* end, char separator, Number& number)
{
    const auto [next, error] = std::from_chars(at, end, number);
    if (error != std::errc() || next == at)
        return false;
    at = next;
    if (separator == 0)
        return at == end;
    if (at == end || *at != separator)
        return false;
    ++at;
    return true;
}

}  // namespace

String ResumeText(const ResumePoint& point)
{
    return std::to_string(point.list) + " " + std::to_string(point.entry) + " " + std::to_string(point.positionMs);
}

std::optional<ResumePoint> ParseResumeText(const String& text)
{
    ResumePoint point;
    const char* at = text.data();
    const char* end = at + text.size();
    // from_chars takes no sign for unsigned numbers, so a negative position fails here.
    if (!ReadNumber(at, end, ' ', point.list) || !ReadNumber(at, end, ' ', point.entry) ||
        !ReadNumber(at, end, 0, point.positionMs))
        return std::nullopt;
    return point;
}

std::optional<ResumePoint> LoadResumePoint(SqlSession& session)
{
    const Value stored = LoadSetting(session, kResumeKey);
    if (stored.IsNull())
        return std::nullopt;
    return ParseResumeText(stored.ToString());
}

bool StoreResumePoint(SqlSession& session, const std::optional<ResumePoint>& point)
{
    return point ? StoreSetting(session, kResumeKey, ResumeText(*point)) : RemoveSetting(session, kResumeKey);
}

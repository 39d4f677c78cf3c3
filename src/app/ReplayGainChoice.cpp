#include "app/ReplayGainChoice.h"

#include <utility>

#include "library/SettingsDb.h"

namespace {

constexpr char kReplayGainKey[] = "REPLAYGAIN";

constexpr std::pair<ReplayGainMode, const char*> kStoredNames[] = {
    {ReplayGainMode::Off, "off"},
    {ReplayGainMode::Track, "track"},
    {ReplayGainMode::Album, "album"},
    {ReplayGainMode::Automatic, "automatic"},
};

}  // namespace

ReplayGainMode LoadReplayGainMode(SqlSession& session)
{
    const Value stored = LoadSetting(session, kReplayGainKey);
    if (stored.IsText())
        for (const auto& [mode, name] : kStoredNames)
            if (stored.ToString() == name)
                return mode;
    return kDefaultReplayGainMode;
}

bool StoreReplayGainMode(SqlSession& session, ReplayGainMode mode)
{
    for (const auto& [known, name] : kStoredNames)
        if (known == mode)
            return StoreSetting(session, kReplayGainKey, name);
    return false;
}

#include "library/SettingsDb.h"

#include "data/Sql.h"

namespace {

constexpr char kLoad[] = "select VALUE from SETTINGS where KEY = ?";
constexpr char kStore[] = "insert or replace into SETTINGS (KEY, VALUE) values (?, ?)";

}  // namespace

Value LoadSetting(SqlSession& session, const String& key)
{
    Sql cursor(session);
    if (!cursor.Prepare(kLoad))
        return Value();
    cursor.SetParam(0, key);
    if (!cursor.Execute() || !cursor.Fetch())
        return Value();
    return cursor[0];
}

bool StoreSetting(SqlSession& session, const String& key, const String& value)
{
    Sql cursor(session);
    return cursor.Prepare(kStore) && cursor.Execute(key, value);
}

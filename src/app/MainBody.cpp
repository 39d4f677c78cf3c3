#include "app/MainBody.h"

#include <QDBusConnection>
#include <QTimer>

#include "app/Config.h"
#include "app/DesktopLink.h"
#include "app/Player.h"
#include "core/Paths.h"
#include "data/Sql.h"
#include "data/Sqlite3Session.h"
#include "library/LibraryDb.h"
#include "ui/Prompt.h"
#include "ui/Translate.h"

namespace {

// Polish (P, L, P, L in five-bit letters) with UTF-8 delivery: file names,
// tags and the desktop are UTF-8 here.
constexpr uint32_t kStartLanguage = 0x0FF8320C;

Sqlite3Session theSession;

} // namespace

Sqlite3Session& LibrarySession()
{
    return theSession;
}

void MainBody(Sqlite3Session& session, const String& folder, const String& title, const std::vector<String>& open)
{
    SetLanguage(kStartLanguage);

    if (!session.Open(folder + kDatabaseFileName)) {
        Exclamation("Can't create or open database file\n", title);
        return;
    }
    // Bound until the end of the body, after the window (declared below) is gone.
    SqlBinding bind(session);
    // A new file gets its tables; a file that is not a database records the
    // failure in the session and the statements after it fail the same way.
    CreateLibraryTables(session);

    const String configPath = folder + title + ".cfg";
    Player player;
    const ConfigSerializer serialize = [&player](Stream& s) { player.Serialize(s); };
    LoadConfig(configPath, serialize);
    DesktopLink desktop(player, QDBusConnection::sessionBus());
    if (!open.empty())
        QTimer::singleShot(0, &player, [&desktop, &open] { desktop.Open(open); });
    player.Run();
    player.FinishEditing();
    StoreConfig(configPath, serialize);
}

void MainBody(const std::vector<String>& open)
{
    MainBody(LibrarySession(), ExecutableFolder(), ExecutableTitle(), open);
}

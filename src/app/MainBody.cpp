#include "app/MainBody.h"

#include <QDBusConnection>

#include "app/Config.h"
#include "app/DesktopLink.h"
#include "app/Language.h"
#include "app/LibraryStartup.h"
#include "app/Player.h"
#include "app/SingleInstance.h"
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

void MainBody(Sqlite3Session& session, const String& folder, const String& title,
              const std::vector<std::string>& paths)
{
    SetLanguage(kStartLanguage);
    // The messages below come before the library is open.
    SetLanguageChoice(PeekLanguageChoice(folder + kDatabaseFileName));

    SingleInstance instance(folder);
    if (!instance.Acquire()) {
        // Told in the language peeked above: the owner may hold the library
        // locked, and a message must not wait for it.
        if (!instance.Send(paths))
            Exclamation(Translate("The player is already running on this library but does not answer.\n"), title);
        return;
    }
    if (!OpenLibrary(session, folder + kDatabaseFileName, title))
        return;
    // Bound until the end of the body, after the window (declared below) is gone.
    SqlBinding bind(session);
    // The language the user picked in an earlier run; none keeps the start-up one.
    SetLanguageChoice(LoadLanguageChoice(session));

    const String configPath = folder + title + ".cfg";
    Player player;
    const ConfigSerializer serialize = [&player](Stream& s) { player.Serialize(s); };
    LoadConfig(configPath, serialize);
    DesktopLink desktop(player, QDBusConnection::sessionBus());
    instance.WhenMessage = [&desktop](std::vector<std::string> handed) {
        desktop.Raise();
        desktop.OpenLater(std::move(handed));
    };
    desktop.OpenLater(paths);
    player.Run();
    // Later starts are still answered, but the window is going away.
    instance.WhenMessage = nullptr;
    player.FinishEditing();
    StoreConfig(configPath, serialize);
}

void MainBody(const std::vector<std::string>& paths)
{
    MainBody(LibrarySession(), ExecutableFolder(), ExecutableTitle(), paths);
}

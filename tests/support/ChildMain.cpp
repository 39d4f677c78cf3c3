// A player process for tests that need a second one: `start <folder> [args]`
// runs the whole main body on the library in folder with those arguments.
// A start that becomes the library's owner closes its window after a few
// seconds, so a failing test never leaves it running.

#include <QApplication>
#include <QTimer>
#include <string>
#include <vector>

#include "app/MainBody.h"
#include "app/Player.h"
#include "data/Sql.h"
#include "data/Sqlite3Session.h"
#include "support/TestEnvironment.h"

int main(int argc, char** argv)
{
    PrepareHeadlessEnvironment();
    if (argc < 3 || std::string(argv[1]) != "start")
        return 2;
    int toolkitArgc = 1;
    QApplication app(toolkitArgc, argv);
    QTimer::singleShot(5000, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* player = dynamic_cast<Player*>(w); player && player->IsRunning())
                player->Close();
    });
    Sqlite3Session session;
    MainBody(session, argv[2], "player", std::vector<std::string>(argv + 3, argv + argc));
    SQL.Detach();
    return 0;
}

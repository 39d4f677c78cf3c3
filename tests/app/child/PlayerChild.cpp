// A player process for tests that need a second one:
//   start <folder> [args]  runs the whole main body on the library in folder
//                          with those arguments; a start that becomes the
//                          library's owner closes its window after a few
//                          seconds, so a failing test never leaves it running;
//   move <folder>          loads the library in folder and moves tracks of its
//                          first playlist up and down through the grid for
//                          ever, printing the titles after every move.

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "app/MainBody.h"
#include "app/Player.h"
#include "data/Sql.h"
#include "data/Sqlite3Session.h"
#include "library/LibraryGrids.h"
#include "support/PartsRig.h"
#include "support/TestEnvironment.h"

namespace {

int Start(const std::string& folder, const std::vector<std::string>& arguments)
{
    QTimer::singleShot(5000, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* player = dynamic_cast<Player*>(w); player && player->IsRunning())
                player->Close();
    });
    Sqlite3Session session;
    MainBody(session, folder, "player", arguments);
    SQL.Detach();
    return 0;
}

// Each line is the order shown once a move has been handled, so the test
// knows the last order the user saw before the kill.
int MoveForEver(const std::string& folder)
{
    Sqlite3Session session;
    if (!session.Open(folder + kDatabaseFileName))
        return 3;
    SqlBinding bind(session);
    PartsRig parts;
    GridCtrl& tracks = parts.library.CurrentTrackList();
    std::mt19937 random(42);
    for (;;) {
        const int row = static_cast<int>(random() % static_cast<unsigned>(tracks.GetCount() - 1));
        tracks.SetCursor(row);
        tracks.MoveRowDown();
        std::string line;
        for (int i = 0; i < tracks.GetCount(); ++i)
            line += tracks.Get(i, TRACK_TITLE).ToString() + ",";
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    PrepareHeadlessEnvironment();
    if (argc < 3)
        return 2;
    int toolkitArgc = 1;
    QApplication app(toolkitArgc, argv);
    const std::string role = argv[1];
    if (role == "start")
        return Start(argv[2], std::vector<std::string>(argv + 3, argv + argc));
    if (role == "move")
        return MoveForEver(argv[2]);
    return 2;
}

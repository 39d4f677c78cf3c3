#include "app/Entry.h"

#include <QApplication>
#include <QWidget>

#include "app/MainBody.h"
#include "data/Log.h"

namespace {

void CloseTopLevelWindows()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            window->close();
}

} // namespace

int RunEntry(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The window's own loop decides when the program ends, not the last closed window.
    app.setQuitOnLastWindowClosed(false);

    MainBody();

    CloseTopLevelWindows();
    UsrLogT("---------- About to delete this log...");
    DeleteUsrLog();
    return 0;
}

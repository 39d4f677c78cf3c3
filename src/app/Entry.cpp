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
    // The toolkit sees the program's name only: given the whole command line it
    // would act on options such as -reverse, -style or -stylesheet, and the
    // player takes no options.
    int toolkitArgc = argc > 0 ? 1 : 0;
    QApplication app(toolkitArgc, argv);
    // The window's own loop decides when the program ends, not the last closed window.
    app.setQuitOnLastWindowClosed(false);

    MainBody();

    CloseTopLevelWindows();
    UsrLogT("---------- About to delete this log...");
    DeleteUsrLog();
    return 0;
}

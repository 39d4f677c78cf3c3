#include "app/Entry.h"

#include <QApplication>
#include <QDir>
#include <QWidget>
#include <iostream>

#include "app/MainBody.h"
#include "app/ToolkitSetup.h"
#include "data/Log.h"
#include "desktop/CommandLine.h"
#include "desktop/DesktopIcon.h"

namespace {

void CloseTopLevelWindows()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            window->close();
}

std::string ProgramName(int argc, char** argv)
{
    const std::string path = argc > 0 && argv[0] ? argv[0] : "quillon-player";
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int RunEntry(int argc, char** argv)
{
    const std::string program = ProgramName(argc, argv);
    const CommandLine line =
        ParseCommandLine(std::vector<std::string>(argv + std::min(argc, 1), argv + argc), QDir::currentPath().toStdString());
    switch (line.action) {
    case CommandLine::Action::Help:
        std::cout << UsageText(program);
        return 0;
    case CommandLine::Action::Version:
        std::cout << VersionText();
        return 0;
    case CommandLine::Action::BadUsage:
        for (const std::string& problem : line.problems)
            std::cerr << program << ": " << problem << "\n";
        std::cerr << UsageText(program);
        return 2;
    case CommandLine::Action::Run:
        break;
    }
    // A file that is not there is no reason not to start.
    for (const std::string& problem : line.problems)
        std::cerr << program << ": " << problem << "\n";

    // The toolkit sees the program's name only: given the whole command line it
    // would act on options such as -reverse, -style or -stylesheet.
    int toolkitArgc = argc > 0 ? 1 : 0;
    PrepareToolkit();
    QApplication app(toolkitArgc, argv);
    // The window's own loop decides when the program ends, not the last closed window.
    app.setQuitOnLastWindowClosed(false);
    // Lets the desktop match the window to its launcher entry and icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopEntryName));

    MainBody({line.paths.begin(), line.paths.end()});

    CloseTopLevelWindows();
    UsrLogT("---------- About to delete this log...");
    DeleteUsrLog();
    return 0;
}

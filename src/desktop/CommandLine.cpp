#include "desktop/CommandLine.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

// A path from an argument: a file URI is decoded, anything else is a path.
// Empty with `problem` set when the argument names nothing local.
std::string LocalPath(const std::string& argument, const QDir& base, std::string& problem)
{
    const QString text = QString::fromStdString(argument);
    QString path = text;
    if (text.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(text);
        // "localhost" names this machine; any other host is a network share.
        const bool local = url.host().isEmpty() || url.host() == QLatin1String("localhost");
        if (!url.isValid() || !url.isLocalFile() || !local) {
            problem = "not a local file: " + argument;
            return {};
        }
        path = url.path(QUrl::FullyDecoded);
    } else if (const QUrl url(text); url.isValid() && url.scheme().size() > 1 && text.contains(QLatin1String("://"))) {
        problem = "not a local file: " + argument;
        return {};
    }
    const QFileInfo info(base, path);
    if (!info.exists()) {
        problem = "no such file or folder: " + argument;
        return {};
    }
    return QDir::cleanPath(info.absoluteFilePath()).toStdString();
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments, const std::string& workingDir)
{
    CommandLine line;
    const QDir base(QString::fromStdString(workingDir));
    bool options = true;
    for (const std::string& argument : arguments) {
        if (options && argument == "--") {
            options = false;
            continue;
        }
        if (options && argument.size() > 1 && argument[0] == '-') {
            if (argument == "--help" || argument == "-h")
                return CommandLine{CommandLine::Action::Help, {}, {}};
            if (argument == "--version")
                return CommandLine{CommandLine::Action::Version, {}, {}};
            return CommandLine{CommandLine::Action::BadUsage, {}, {"unknown option: " + argument}};
        }
        std::string problem;
        std::string path = LocalPath(argument, base, problem);
        if (path.empty())
            line.problems.push_back(problem);
        else
            line.paths.push_back(std::move(path));
    }
    return line;
}

std::string UsageText(const std::string& program)
{
    return "Usage: " + program + " [FILE | FOLDER | PLAYLIST | file:// URI]...\n"
           "Adds the files to the current playlist and plays the first one;\n"
           "a player already running takes them over.\n"
           "  -h, --help     show this text\n"
           "      --version  show the version\n";
}

std::string VersionText()
{
    return "Quillon Player 1.01\n";
}

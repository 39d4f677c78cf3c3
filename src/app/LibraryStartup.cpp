#include "app/LibraryStartup.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "core/Paths.h"
#include "data/Sql.h"
#include "data/Sqlite3Session.h"
#include "library/LibraryDb.h"
#include "ui/Prompt.h"
#include "ui/ShownText.h"
#include "ui/Translate.h"

namespace {

// SQLite keeps these beside the database while a write is under way; a
// journal left beside a new file would be played back into it.
const char* const kCompanionSuffixes[] = {"-journal", "-wal", "-shm"};

enum class Health { Ready, Locked, Damaged, Failed };

// Reads the schema and checks every page's structure, which a foreign file or
// a damaged one fails.
Health CheckLibrary(Sqlite3Session& session)
{
    Sql cursor(session);
    if (!cursor.Execute(String("PRAGMA quick_check"))) {
        switch (session.GetLastErrorKind()) {
        case SqlErrorKind::Busy: return Health::Locked;
        case SqlErrorKind::Damaged: return Health::Damaged;
        default: return Health::Failed;
        }
    }
    if (!cursor.Fetch() || cursor[0].ToString() != "ok")
        return Health::Damaged;
    if (!CreateLibraryTables(session))
        return session.GetLastErrorKind() == SqlErrorKind::Busy ? Health::Locked : Health::Failed;
    return Health::Ready;
}

String FileName(const String& path)
{
    return std::filesystem::path(path).filename().string();
}

bool AskRetryWhileLocked(const String& path, const String& title)
{
    const String text = Fill(Translate("The library %s is locked by another program, so it cannot be read now.\n"
                                       "Close the other program and choose Retry, or choose Quit."),
                             {FileName(path)});
    return Question(text, {Translate("Retry"), Translate("Quit")}, 1, title) == 0;
}

bool AskStartFresh(const String& path, const String& aside, const String& title)
{
    const String text = Fill(Translate("The library file %s is damaged or is not a library, so it cannot be read.\n"
                                       "Start with a new, empty library? The file is kept unchanged as %s.\n"
                                       "Quit leaves everything as it is."),
                             {path, FileName(aside)});
    return Question(text, {Translate("Start a new library"), Translate("Quit")}, 1, title) == 0;
}

// Renames the file and its journals aside; false (with the reason shown) when
// the file itself could not be moved.
bool MoveAside(const String& path, const String& aside, const String& title)
{
    if (std::rename(path.c_str(), aside.c_str()) != 0) {
        Exclamation(Fill(Translate("The damaged library file could not be renamed to %s: %s.\nNothing was changed."),
                         {FileName(aside), std::strerror(errno)}),
                    title);
        return false;
    }
    for (const char* suffix : kCompanionSuffixes) {
        const String companion = path + suffix;
        if (std::filesystem::exists(companion))
            std::rename(companion.c_str(), (aside + suffix).c_str());
    }
    return true;
}

} // namespace

String DamagedFileName(const String& path)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[16];
    std::strftime(date, sizeof date, "%Y-%m-%d", &local);
    const String base = path + ".damaged-" + date;
    String name = base;
    for (int n = 2; std::filesystem::exists(name); ++n)
        name = base + "-" + std::to_string(n);
    return name;
}

bool OpenLibrary(Sqlite3Session& session, const String& path, const String& title)
{
    if (!session.Open(path)) {
        Exclamation(Translate("Can't create or open database file\n"), title);
        return false;
    }
    for (;;) {
        switch (CheckLibrary(session)) {
        case Health::Ready: return true;
        case Health::Locked:
            if (AskRetryWhileLocked(path, title))
                continue;
            break;
        case Health::Damaged: {
            const String aside = DamagedFileName(path);
            if (!AskStartFresh(path, aside, title))
                break;
            session.Close();
            if (!MoveAside(path, aside, title))
                return false;
            if (!session.Open(path)) {
                Exclamation(Translate("Can't create or open database file\n"), title);
                return false;
            }
            continue;
        }
        case Health::Failed:
            Exclamation(Fill(Translate("The library %s cannot be used: %s.\nNothing was changed."),
                             {FileName(path), TranslateShown(session.DescribeLastError())}),
                        title);
            break;
        }
        session.Close();
        return false;
    }
}

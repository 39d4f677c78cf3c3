#include "app/Language.h"

#include <QCoreApplication>
#include <QLocale>
#include <filesystem>
#include <QLibraryInfo>
#include <QTranslator>

#include "data/Sqlite3Session.h"
#include "library/SettingsDb.h"
#include "ui/LanguageChange.h"
#include "ui/PlayerTexts.h"

namespace {

constexpr char kLanguageKey[] = "LANGUAGE";
// Stored as the language's four letters, so the table reads plainly.
constexpr char kEnglishValue[] = "ENUS";
constexpr char kPolishValue[] = "PLPL";

bool IsPolish(uint32_t code)
{
    return ((code ^ kPolishLanguage) & kLanguageOnlyMask) == 0;
}

// The toolkit's own texts (a line editor's context menu, the file dialog's
// buttons) in Polish once the user picked Polish; without the system's
// translation files they stay English. User-interface thread only.
void TranslateToolkit(bool polish)
{
    static QTranslator toolkit;
    static bool installed = false;
    if (installed) {
        QCoreApplication::removeTranslator(&toolkit);
        installed = false;
    }
    if (polish && toolkit.load(QStringLiteral("qtbase_pl"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installed = QCoreApplication::installTranslator(&toolkit);
}

}  // namespace

uint32_t LanguageCodeOf(LanguageChoice choice)
{
    // With no choice the start-up language: Polish, delivering UTF-8.
    return choice == LanguageChoice::English ? kEnglishLanguage : kPolishLanguage;
}

LanguageChoice CurrentLanguageChoice()
{
    if (!IsTranslationModuleEnabled(PlayerTexts()))
        return LanguageChoice::None;
    return IsPolish(GetCurrentLanguage()) ? LanguageChoice::Polish : LanguageChoice::English;
}

void SetLanguageChoice(LanguageChoice choice)
{
    SetLanguage(LanguageCodeOf(choice));
    EnableTranslationModule(PlayerTexts(), choice != LanguageChoice::None);
    TranslateToolkit(choice == LanguageChoice::Polish);
}

void SwitchLanguage(LanguageChoice choice)
{
    SetLanguageChoice(choice);
    AnnounceLanguageChange();
}

LanguageChoice LoadLanguageChoice(SqlSession& session)
{
    const Value stored = LoadSetting(session, kLanguageKey);
    if (!stored.IsText())
        return LanguageChoice::None;
    const String value = stored.ToString();
    if (value == kEnglishValue)
        return LanguageChoice::English;
    if (value == kPolishValue)
        return LanguageChoice::Polish;
    return LanguageChoice::None;
}

LanguageChoice PeekLanguageChoice(const String& databasePath)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(databasePath, error))
        return LanguageChoice::None;  // a first start looks as it always has
    Sqlite3Session peek;
    peek.SetBusyTimeout(0);
    if (peek.Open(databasePath)) {
        const LanguageChoice stored = LoadLanguageChoice(peek);
        const SqlErrorKind failure = peek.GetLastErrorKind();
        if (failure != SqlErrorKind::Busy && failure != SqlErrorKind::Damaged)
            return stored;
    }
    return QLocale().language() == QLocale::Polish ? LanguageChoice::Polish : LanguageChoice::None;
}

bool StoreLanguageChoice(SqlSession& session, LanguageChoice choice)
{
    if (choice == LanguageChoice::None)
        return false;
    return StoreSetting(session, kLanguageKey, choice == LanguageChoice::English ? kEnglishValue : kPolishValue);
}

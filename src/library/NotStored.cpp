#include "library/NotStored.h"

#include "data/Sql.h"
#include "ui/Prompt.h"
#include "ui/ShownText.h"
#include "ui/Translate.h"

void TellNotStored(const String& what, const String& after)
{
    SqlSession* session = SQL.GetSession();
    // The data layer words its causes in English; they are looked up as shown.
    const String cause = session ? TranslateShown(session->DescribeLastError()) : String(Translate("the library is not open"));
    Exclamation(what + ": " + cause + "." + (after.empty() ? String() : " " + after));
}

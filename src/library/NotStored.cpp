#include "library/NotStored.h"

#include "data/Sql.h"
#include "ui/Prompt.h"

void TellNotStored(const String& what, const String& after)
{
    SqlSession* session = SQL.GetSession();
    const String cause = session ? session->DescribeLastError() : String("the library is not open");
    Exclamation(what + ": " + cause + "." + (after.empty() ? String() : " " + after));
}

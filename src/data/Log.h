#pragma once

#include "data/LogStream.h"

// The program's three logs, next to the executable. Each is created on first use
// and lives until the process ends (it is never destroyed, so destructors of
// other objects may still log at exit).

// The main log, "<executable>.log", limited to 10,000,000 bytes per file: it
// receives the SQL layer's statement traces.
LogStream& MainLog();

// "<executable>.<date-time>.buglog": recorded SQL errors when a session asks for
// them, and slow-statement reports.
LogStream& BugLog();

// "<executable>.<date-time>.usrlog": an optional activity log, off by default.
LogStream& UsrLog();

// Switches the user log on; UsrLogT writes nothing until this is called.
void ActivateUsrLog();
bool IsUsrLogActive();

// Writes the text and "\r\n" to the user log when it is active.
void UsrLogT(const String& text);

// Run at exit: creates the user log file, closes and deletes it, and switches the
// user log off. A failed delete is reported to the bug log and the main log.
void DeleteUsrLog();

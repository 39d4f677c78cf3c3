#pragma once

#include "data/SqlSession.h"

// Table SETTINGS of the library database: one text value per key, for choices
// that outlive a run but have no place in the configuration record (the record's
// layout stays as older versions wrote it). CreateLibraryTables makes the table.

// The value stored under the key; Null when there is none or it cannot be read.
Value LoadSetting(SqlSession& session, const String& key);
// Stores or replaces the value; false (nothing changed) when the database refuses it.
bool StoreSetting(SqlSession& session, const String& key, const String& value);

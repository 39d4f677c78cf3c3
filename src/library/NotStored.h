#pragma once

#include "core/Value.h"

// Tells the user, in one warning, that a change was not stored and why:
// what (already in the user's language) + ": " + the cause in plain words (from the default cursor's session)
// + "." + after, e.g. "The playlist "Jazz" could not be created: the disk is
// full." One call per user action, however many rows it concerned.
void TellNotStored(const String& what, const String& after = String());

// A name quoted for a message.
inline String Quoted(const String& name)
{
    return "\"" + name + "\"";
}

#pragma once

#include <QStringList>

// The media types the player opens, as the desktop names them: what it tells
// the session bus it plays and what its launcher entry offers to open.
QStringList SupportedMimeTypes();

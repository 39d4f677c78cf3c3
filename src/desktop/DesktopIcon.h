#pragma once

#include <QIcon>

// The program's icon in every size the launcher entry installs, the same
// images the desktop shows for it.
QIcon DesktopIcon();

// The name the icon and the launcher entry are installed under.
inline constexpr const char* kDesktopEntryName = "quillon-player";

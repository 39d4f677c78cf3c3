#pragma once

#include "core/Value.h"

// Where the running program lies. The player keeps its database, configuration
// and logs next to its executable file.

// Full path of the running executable, links resolved ("" when it cannot be read).
String ExecutablePath();

// The executable's folder, ending in "/".
String ExecutableFolder();

// The executable's file name without folder and without its extension.
String ExecutableTitle();

// A file in the executable's folder: ExecutableFolder() + fileName.
String ExecutableFilePath(const String& fileName);

// `path` with the extension of its file name (from the last "." after the last
// "/") replaced by `extension`, or with `extension` appended when the file name
// has none. `extension` includes its leading dot.
String ReplaceExtension(const String& path, const String& extension);

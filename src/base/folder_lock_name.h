// The name of the lock a program takes on its data folder, so that two
// programs started at the same moment never share one history. No window
// system here: the name is made from the folder's path alone.
#pragma once

#include <string>

// A session-wide mutex name for the folder at `fullPath`. Paths that name
// the same folder in different spellings (letter case, '/' for '\', a
// trailing separator) give the same name; the path is hashed so that any
// depth of folder fits the system's limit on names.
std::wstring FolderLockName(const std::wstring& fullPath);

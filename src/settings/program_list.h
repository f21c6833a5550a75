// The programs whose copies are never recorded: a list of executable file
// names separated by ";", as the user keeps it in the settings. A name is
// matched against the file name of the program that placed a content,
// without its folder and in either case (file names on Windows are), so
// "keepassxc.EXE" in the list leaves out what KeePassXC.exe copies.
#pragma once

#include <string>
#include <vector>

// The names of the list, without the spaces around them; empty names go.
std::vector<std::string> ProgramNames(const std::string& list);

// The file name of a path: what follows its last "\" or "/".
std::string FileNameOf(const std::string& path);

// Whether the program at `path` (or a bare file name) is on the list.
bool ProgramListed(const std::string& list, const std::string& path);

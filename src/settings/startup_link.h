// Starting at sign-in: a shortcut コピウェル.lnk in the user's Startup
// folder. Nothing goes into the registry; the shortcut is the only
// record, so what it says is what the settings dialog shows.
#pragma once

#include <string>

struct StartupLink {
  std::wstring file;    // the shortcut's full path; empty when there is no Startup folder
  std::wstring exe;     // the program it starts: this very kopiwell.exe
  std::wstring folder;  // where it starts it: this run's data folder
};

// The link for this program as it runs now, in FOLDERID_Startup.
StartupLink ThisProgramsLink();

enum class LinkState {
  kNone,   // no shortcut of that name
  kOurs,   // one that starts this kopiwell.exe in this data folder
  kOther,  // one that starts another copy of the program, or this one in
           // another data folder, or is no shortcut we can read
};
LinkState StateOf(const StartupLink& link);

// Makes the shortcut, or repairs one that starts another program or in
// another folder. False when the file system refused (no rights, a full
// disk).
bool MakeLink(const StartupLink& link);
// False when a shortcut is there and could not be removed.
bool RemoveLink(const StartupLink& link);

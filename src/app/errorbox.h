// The boxes through which the program reports an error to the user,
// filled in as the program's reporter (base/report.h).
#pragma once

#include "base/report.h"

// Set once a fatal error has been reported; a failing save afterwards
// stays silent, so a run shows at most one fatal box.
extern bool g_fatal;

// What a fatal error does after its box: the main window registers the
// ending of the program here when it is created.
void SetFatalErrorExit(void (*exit)());

// The program's error box (ErrorBox in base/report.h comes here).
// kErrorFatal: the message with the store error code and the request to
// report it, the windows of the list put away for good, and the program
// ended through its normal shutdown. Any other code: the message
// unchanged, the list and the edit dialog hidden for as long as it shows.
void ShowErrorBox(const char* message, int code);

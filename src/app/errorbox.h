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

// Makes the boxes here, and the notices the main window shows once its
// message loop runs, the program's reporter.
void InstallReporter();

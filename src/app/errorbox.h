// The one routine through which the whole program reports an error to
// the user.
#pragma once

constexpr int kErrorPlain = 0;
constexpr int kErrorFatal = 1000;

// kErrorFatal: shows the message with the store error code and the
// request to report it, then ends the program through the normal
// shutdown (which still saves the history). Any other code: shows the
// message unchanged and carries on.
void ErrorBox(const char* message, int code);

// Set once a fatal error has been reported; a failing save afterwards
// stays silent, so a run shows at most one fatal box.
extern bool g_fatal;

// What a fatal error does after its box: the main window registers the
// ending of the program here when it is created.
void SetFatalErrorExit(void (*exit)());

// True while a plain message is shown, for which the list and the edit
// dialog have been hidden only for the moment.
extern bool g_errorBoxOpen;

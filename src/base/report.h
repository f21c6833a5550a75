// How any part of the program tells the user of a failure. The main
// window fills in the routines at start; the parts below it reach them
// only through here.
#pragma once

#include <new>

constexpr int kErrorPlain = 0;
constexpr int kErrorFatal = 1000;

struct Reporter {
  // Shows the message. kErrorFatal: with the store error code and the
  // request to report it, and the program then ends (saving its history);
  // any other code: the message unchanged, and the program carries on.
  void (*errorBox)(const char* message, int code) = nullptr;
  // Told once the message loop runs, so that no box interrupts the
  // operation that met the failure: a write to the working file that
  // failed, a capture refused at its 2 GB limit, an operation given up for
  // want of memory.
  void (*writeFailure)() = nullptr;
  void (*workingFileFull)() = nullptr;
  void (*noMemory)() = nullptr;
  // A capture the store refused for a reason none of the others is
  // (`code`: the store's error code).
  void (*captureFailed)(int code) = nullptr;
};
void SetReporter(const Reporter& reporter);

// The one routine through which the program reports an error. Before a
// reporter is set, the message is shown in a plain box.
void ErrorBox(const char* message, int code);
// True while a plain message is shown: the windows hidden for it come
// back afterwards, which is not the user leaving them.
bool ErrorBoxOpen();

void ReportWriteFailure();
void ReportWorkingFileFull();
void ReportNoMemory();
void ReportCaptureFailure(int code);

// Runs a window procedure's work so that running out of memory in it
// never escapes into the system's code (which would end the program and
// lose the session's history): the operation is given up, the store's
// operations having changed nothing before their allocations, and the
// user is told.
template <typename Work>
auto GuardMemory(Work work, decltype(work()) failed = 0) -> decltype(work()) {
  try {
    return work();
  } catch (const std::bad_alloc&) {
    ReportNoMemory();
    return failed;
  }
}

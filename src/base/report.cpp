#include "base/report.h"

#include <windows.h>

#include "base/win_text.h"

namespace {

Reporter g_reporter;
bool g_errorBoxOpen = false;

void Call(void (*routine)()) {
  if (routine) routine();
}

}  // namespace

void SetReporter(const Reporter& reporter) { g_reporter = reporter; }

void ErrorBox(const char* message, int code) {
  if (!g_reporter.errorBox) {
    MessageBoxUtf8(nullptr, message, "Kopiwell", MB_OK | MB_ICONERROR);
    return;
  }
  const bool plain = code != kErrorFatal;
  const bool outer = g_errorBoxOpen;
  if (plain) g_errorBoxOpen = true;
  g_reporter.errorBox(message, code);
  if (plain) g_errorBoxOpen = outer;
}

bool ErrorBoxOpen() { return g_errorBoxOpen; }

void ReportWriteFailure() { Call(g_reporter.writeFailure); }
void ReportWorkingFileFull() { Call(g_reporter.workingFileFull); }
void ReportNoMemory() { Call(g_reporter.noMemory); }

void ReportCaptureFailure(int code) {
  if (g_reporter.captureFailed) g_reporter.captureFailed(code);
}

#include "base/program.h"

namespace {
HWND g_main = nullptr;
}  // namespace

// The module of the running program: the resources are linked into it,
// into the program and into its tests alike.
HINSTANCE ProgramInstance() { return GetModuleHandleW(nullptr); }

void SetMainWindow(HWND main) { g_main = main; }
HWND MainWindow() { return g_main; }

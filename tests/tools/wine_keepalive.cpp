// Stays alive, doing nothing, for the whole of a test run. While one Wine
// program runs, Wine keeps its server and system processes up, so each
// test program starts in a fraction of a second instead of about three.
//
// It also makes Wine start its desktop process (which serves windows and
// the clipboard) now, with this program's null output: started later by a
// test, that process would inherit the test runner's output pipe and keep
// the runner waiting for the pipe to close. The test script ends this
// program together with the Wine server.
//
// Given a file name, it creates that file once its window exists: then
// the server answers, the desktop process runs and this program holds
// both up, and the test script, which waits for the file, may start the
// tests.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
  HWND window = CreateWindowExA(0, "STATIC", "kopiwell test keep-alive", WS_OVERLAPPED, 0, 0, 10,
                                10, nullptr, nullptr, instance, nullptr);
  if (OpenClipboard(window)) CloseClipboard();
  if (window && command_line[0]) {
    HANDLE ready = CreateFileA(command_line, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
  }
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}

#include "app/errorbox.h"

#include <windows.h>

#include <string>

#include "base/win_text.h"
#include "listwin/listwin.h"
#include "listwin/show_list.h"
#include "output/viewer.h"
#include "store/history.h"

bool g_fatal = false;

namespace {

void (*g_fatalExit)() = nullptr;

constexpr char kCaption[] = "コピウェル - エラー";
constexpr char kReportRequest[] = "\n\n上記メッセージをメールにて下記へ連絡お願いいたします。";
// Where a user reports a fatal error.
constexpr char kContactLines[] =
    "\n   Kopiwell プロジェクト"
    "\n   問題の報告は readme.txt をご覧ください";

void ShowIfFlagged(HWND hwnd, bool shown, int how) {
  if (hwnd && shown) ShowWindow(hwnd, how);
}

}  // namespace

void ShowErrorBox(const char* message, int code) {
  if (code == kErrorFatal) {
    // The two modeless windows leave the screen before the box.
    PutListAway();
    std::string text = std::string(message) + "(" + std::to_string(History().Error()) + ")" +
                       kReportRequest + kContactLines;
    MessageBoxUtf8(nullptr, text.c_str(), kCaption, MB_OK | MB_ICONERROR);
    g_fatal = true;
    if (g_fatalExit) g_fatalExit();
    return;
  }
  // Hiding the list hands the activation to some other program; that is
  // not the user leaving the list, which must come back as it was
  // (ErrorBoxOpen() says so meanwhile).
  ShowIfFlagged(g_hViewer, g_viewerShown, SW_HIDE);
  ShowIfFlagged(ListWindowHandle(), ListShown(), SW_HIDE);
  MessageBoxUtf8(nullptr, message, kCaption, MB_OK | MB_ICONERROR);
  ShowIfFlagged(g_hViewer, g_viewerShown, SW_RESTORE);
  ShowIfFlagged(ListWindowHandle(), ListShown(), SW_RESTORE);
}

void SetFatalErrorExit(void (*exit)()) { g_fatalExit = exit; }

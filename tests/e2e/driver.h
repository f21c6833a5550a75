// Drives a running Kopiwell from outside: starts the real program in a
// directory of its own, finds its windows and message boxes, answers
// them, and reads the files it leaves. Every wait polls with a deadline,
// and a step that can fail says what it saw when it does.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string>

#include "common/bytes.h"
#include "common/clipboard.h"
#include "common/files.h"
#include "common/last_error.h"
#include "common/list_view.h"
#include "common/text.h"
#include "common/wait.h"

namespace e2e {

// A path as Windows programs reach it: a Linux path under Wine goes
// through the drive that maps the root.
std::wstring WindowsPath(const char* path);

// A new empty directory, removed with its contents at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::wstring& Path() const { return path_; }
  std::wstring File(const wchar_t* name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// Starts the program with the arguments (quoted as they need) in the
// directory (this process's own when empty). The thread's handle is
// closed at once; the caller closes the process's.
bool Launch(const std::wstring& exe, const std::wstring& args, const std::wstring& dir,
            PROCESS_INFORMATION* info);

// Writes kopiwell.ini into the folder as a first run leaves it, with the
// given keys set to other values (keys are unique across sections).
struct IniValue {
  const char* key;
  const char* value;
};
void WriteIni(const std::wstring& dir, std::initializer_list<IniValue> changes = {});

// One run of kopiwell.exe (the one built, unless `exe` names another)
// with the given directory as its current directory. Ended by force at
// the end if it is still running.
class Kopiwell {
 public:
  explicit Kopiwell(std::wstring dir, std::wstring exe = {})
      : dir_(std::move(dir)), exe_(std::move(exe)) {}
  ~Kopiwell();
  Kopiwell(const Kopiwell&) = delete;
  Kopiwell& operator=(const Kopiwell&) = delete;

  ::testing::AssertionResult Start();
  DWORD Pid() const { return pid_; }

  // Waits until the hidden main window of this process has been created
  // and answers messages.
  ::testing::AssertionResult WaitReady(DWORD timeoutMs = kDeadlineMs);
  HWND MainWindow() const;

  ::testing::AssertionResult Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  // Returns once the program has handled every message this thread sent
  // it before: sent messages are handled in the order they arrive.
  // Clipboard notifications are posted, not sent: Settle waits for them.
  ::testing::AssertionResult Sync();
  // Returns once the program has also handled the input and the posted
  // messages (clipboard notifications) given so far: they wait in the
  // queue behind sent messages, so Sync alone may answer first.
  ::testing::AssertionResult Settle();
  ::testing::AssertionResult Goodbye();  // the tray menu's Goodbye command

  // Still busy with its start: it has not yet waited for input.
  bool Starting() const { return process_ && WaitForInputIdle(process_, 0) == WAIT_TIMEOUT; }
  // Waits for the process to end; a failure on timeout.
  ::testing::AssertionResult WaitExit(DWORD* exitCode, DWORD timeoutMs = kDeadlineMs);
  bool Running() const;
  // The run as seen from outside, for failure messages: running or
  // ended, and what it shows on the screen.
  std::string State() const;

 private:
  std::wstring dir_;
  std::wstring exe_;
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

// A visible top-level dialog or message box of the process with the caption.
HWND FindDialog(DWORD pid, const std::wstring& caption);
// Waits for it; *found (when given) gets it.
::testing::AssertionResult WaitDialog(DWORD pid, const std::wstring& caption,
                                      HWND* found = nullptr);
// Waits until it has gone.
::testing::AssertionResult WaitDialogGone(DWORD pid, const std::wstring& caption);
// The text of a message box.
std::wstring MessageText(HWND box);
// The visible top-level windows of the process, each with its class and
// caption and a message box with its text, for failure messages.
std::string WindowsOf(DWORD pid);
// Presses a dialog's button as a click would.
void PressButton(HWND dialog, int id);
// Clicks a button, radio button or check box and waits until the
// program has handled the click.
void Click(HWND dialog, int id);
// Whether the box is ticked; the result names the box either way.
::testing::AssertionResult IsChecked(HWND dialog, int id);
// Sets a control's text, as typing would.
void SetText(HWND dialog, int id, const std::string& utf8);
// A window's text as ANSI bytes (code page 932 here), however long.
std::string TextA(HWND hwnd);

// A clipboard program of the test's own, on a thread of its own so that
// it answers the notifications sent to it at once. It counts them. As a
// well-behaved viewer it passes them on down the chain; it can also play
// the programs that break the chain or keep the clipboard busy.
class ClipboardViewer {
 public:
  enum Manners {
    kPassesOn,       // a viewer that passes every notification on
    kPassesNothing,  // a viewer that passes nothing on
    kHangs,          // a viewer whose thread stops answering at the first change
    kHoldsOpen,      // no viewer: a listener that reads every change and
                     // holds the clipboard open 30 ms while it does
  };
  explicit ClipboardViewer(Manners manners = kPassesOn);  // joins the chain
  ~ClipboardViewer();  // leaves it, if it has not left yet
  ClipboardViewer(const ClipboardViewer&) = delete;
  ClipboardViewer& operator=(const ClipboardViewer&) = delete;

  int Notifications() const;
  // How many different clipboard contents the notifications so far found
  // (by the clipboard's sequence number when each arrived).
  int DistinctContents() const;
  void Leave();

  struct State;  // shared with the viewer's thread

 private:
  State* state_;
};

// What the notification area shows, read from the screen: the program's
// normal icon has blue lines on a white sheet, its paused icon red bars.
enum class TrayPicture { kNone, kNormal, kPaused, kUnknown };
void PrintTo(TrayPicture picture, std::ostream* os);
TrayPicture TrayIconPicture();
int TrayIconCount();
// Waits until the first icon shows the picture.
::testing::AssertionResult WaitTrayPicture(TrayPicture expected);

// Presses a key with modifiers (VK_CONTROL, VK_SHIFT, VK_MENU) held, as
// the user would on the keyboard.
void PressKey(WORD key, std::initializer_list<WORD> modifiers = {});

// Types the characters as such, whatever the keyboard layout (control
// characters such as "\x04" for Ctrl+D included).
void TypeText(const std::string& ascii);
// The same for any UTF-16 units, as an input method hands over its text.
void TypeText(const std::wstring& units);

// A popup menu on the screen (another process cannot read its items).
HWND FindPopupMenu();
// Waits until one is on the screen, or none.
::testing::AssertionResult WaitMenu();
::testing::AssertionResult WaitMenuGone();

// The history list of the process (the list view of its list window).
HWND FindHistoryList(DWORD pid);
// The list window, and whether it is on screen and in front.
inline HWND ListWindow(HWND list) { return GetParent(list); }
// On screen, in front, with the keyboard focus in the list.
bool ListInFront(HWND list);
bool ListHidden(HWND list);

// Waits on the list, each saying what it saw last.
::testing::AssertionResult WaitRows(HWND list, int rows, DWORD timeoutMs = kDeadlineMs);
::testing::AssertionResult WaitCursor(HWND list, int row);
::testing::AssertionResult WaitListInFront(HWND list);
::testing::AssertionResult WaitListHidden(HWND list);

// The control with the keyboard focus in the thread of the window.
HWND FocusOfThread(HWND window);
// In front, with the keyboard focus on `focus`.
bool InFrontWithFocus(HWND window, HWND focus);
// The window in front and its focus, for failure messages.
std::string Front();

// A row's rectangle on the screen, asked of the list in its own process.
RECT RowScreenRect(HWND list, int row);
inline POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// Mouse input at a point of the screen, as the user's hand gives it.
void MovePointer(POINT at);
void DoubleClickAt(POINT at);
void RightClickAt(POINT at);

// A value of kopiwell.ini as the program wrote it ("" when absent).
std::string ReadIniValue(const std::wstring& iniPath, const char* key);

// Another program with a multi-line edit control that has the keyboard
// focus: the user's editor, where pastes land.
class Editor {
 public:
  // `exe`: a copy of the editor under another file name, to play another
  // program; empty for the editor as built.
  Editor(const char* title, RECT place, std::wstring exe = {});
  // The editor's own file, to copy under another name.
  static std::wstring BuiltPath();
  ~Editor();
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  // Starts the program; done once its window is in front with the focus
  // in the edit control.
  ::testing::AssertionResult Start();
  // Brings it to the front with the focus in the edit control.
  ::testing::AssertionResult Activate();
  bool InFront() const;
  HWND Window() const { return window_; }
  const RECT& Place() const { return place_; }
  HWND Edit() const { return edit_; }
  std::string Text() const;  // ANSI bytes
  std::wstring WideText() const;
  void Close();              // ends the program

 private:
  std::wstring title_;
  RECT place_;
  std::wstring exe_;
  HANDLE process_ = nullptr;
  HWND window_ = nullptr;
  HWND edit_ = nullptr;
};

}  // namespace e2e

// Drives a running Kopiwell from outside: starts the real program in a
// directory of its own, finds its windows and message boxes, answers
// them, and reads the files it leaves. Every wait polls with a deadline.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace e2e {

constexpr DWORD kDeadlineMs = 15000;

// Polls the condition until it holds or the deadline passes.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kDeadlineMs);

std::wstring Widen(const char* utf8);
std::string Narrow(const std::wstring& wide);  // to UTF-8, for messages

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

std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
std::string Hex(const std::string& bytes);

// The bytes of a data file holding the texts in order.
std::string DataFile(std::initializer_list<std::string> texts);

// One run of kopiwell.exe with the given directory as its current
// directory. Ended by force at the end if it is still running.
class Kopiwell {
 public:
  explicit Kopiwell(std::wstring dir) : dir_(std::move(dir)) {}
  ~Kopiwell();
  Kopiwell(const Kopiwell&) = delete;
  Kopiwell& operator=(const Kopiwell&) = delete;

  bool Start();
  DWORD Pid() const { return pid_; }

  // The hidden main window of this process, once its creation has ended
  // and it answers messages.
  HWND WaitReady(DWORD timeoutMs = kDeadlineMs);
  HWND MainWindow() const;

  bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  bool Goodbye();  // the tray menu's Goodbye command

  // Waits for the process to end; false on timeout.
  bool WaitExit(DWORD* exitCode, DWORD timeoutMs = kDeadlineMs);
  bool Running() const;

 private:
  std::wstring dir_;
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

// A visible top-level dialog or message box of the process with the caption.
HWND FindDialog(DWORD pid, const std::wstring& caption);
HWND WaitDialog(DWORD pid, const std::wstring& caption, DWORD timeoutMs = kDeadlineMs);
// The text of a message box.
std::wstring MessageText(HWND box);
// Presses a dialog's button as a click would.
void PressButton(HWND dialog, int id);

// The history list of the process (the list view of its list window).
HWND FindHistoryList(DWORD pid);
int RowCount(HWND list);

}  // namespace e2e

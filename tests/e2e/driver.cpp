#include "driver.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>
#include <functional>
#include <iterator>
#include <vector>

#include "common/first_run_ini.h"
#include "common/keys.h"
#include "resource.h"

namespace e2e {

std::wstring WindowsPath(const char* path) {
  std::wstring windows = Widen(path);
  if (!windows.empty() && windows[0] == L'/') {
    for (wchar_t& c : windows)
      if (c == L'/') c = L'\\';
    windows = L"Z:" + windows;
  }
  return windows;
}

namespace {

// A program's path as the build gave it.
std::wstring ProgramPath(const char* built = KOPIWELL_EXE) { return WindowsPath(built); }

struct WindowSearch {
  DWORD pid;
  std::function<bool(HWND)> match;
  HWND found;
};

BOOL CALLBACK SearchTopLevel(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == search->pid && search->match(hwnd)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND FindTopLevel(DWORD pid, std::function<bool(HWND)> match) {
  WindowSearch search = {pid, std::move(match), nullptr};
  EnumWindows(SearchTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

std::wstring TextOf(HWND hwnd) {
  int n = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  GetWindowTextW(hwnd, &text[0], n + 1);
  text.resize(static_cast<size_t>(n));
  return text;
}

}  // namespace

TempDir::TempDir() {
  wchar_t base[MAX_PATH], unique[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  GetTempFileNameW(base, L"kwe", 0, unique);
  DeleteFileW(unique);
  CreateDirectoryW(unique, nullptr);
  path_ = unique;
}

TempDir::~TempDir() { RemoveTree(path_); }

bool Launch(const std::wstring& exe, const std::wstring& args, const std::wstring& dir,
            PROCESS_INFORMATION* info) {
  std::wstring command = L"\"" + exe + L"\"" + (args.empty() ? L"" : L" " + args);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  *info = {};
  if (!CreateProcessW(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                      dir.empty() ? nullptr : dir.c_str(), &startup, info))
    return false;
  CloseHandle(info->hThread);
  info->hThread = nullptr;
  return true;
}

void WriteIni(const std::wstring& dir, std::initializer_list<IniValue> changes) {
  std::string text;
  for (const std::string& line : FirstRunIniLines()) {
    std::string out = line;
    for (const IniValue& c : changes)
      if (out.compare(0, std::strlen(c.key) + 1, std::string(c.key) + "=") == 0)
        out = std::string(c.key) + "=" + c.value;
    text += out + "\r\n";
  }
  WriteFileBytes(dir + L"\\kopiwell.ini", text);
}

Kopiwell::~Kopiwell() {
  if (!process_) return;
  if (Running()) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

namespace {

// A failure saying that a system call failed, with its error code; read
// it before anything else can change the code.
::testing::AssertionResult CallFailed(const char* call) {
  const DWORD error = GetLastError();
  return ::testing::AssertionFailure() << call << " failed with " << ErrorText(error);
}

// Waits until the process waits for input.
::testing::AssertionResult Idle(HANDLE process, DWORD timeoutMs) {
  const DWORD idle = WaitForInputIdle(process, timeoutMs);
  if (idle == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "not idle within " << timeoutMs << " ms (WaitForInputIdle gave " << idle << ")";
}

}  // namespace

::testing::AssertionResult Kopiwell::Start() {
  const std::wstring exe = exe_.empty() ? ProgramPath() : exe_;
  PROCESS_INFORMATION info;
  if (!Launch(exe, L"", dir_, &info)) return CallFailed("CreateProcess") << " for " << Narrow(exe);
  process_ = info.hProcess;
  pid_ = info.dwProcessId;
  return ::testing::AssertionSuccess();
}

HWND Kopiwell::MainWindow() const {
  return FindTopLevel(pid_, [](HWND hwnd) { return ClassOf(hwnd) == L"Kopiwell"; });
}

::testing::AssertionResult Kopiwell::WaitReady(DWORD timeoutMs) {
  // A window can answer a sent message in the middle of its creation (the
  // system delivers sent messages while the program waits on another
  // process), so an answer alone proves nothing. The start is over once
  // the main window exists, the working file has been made and the
  // process has sat idle in a message loop; after that, creation has
  // finished before the next sent message is handled.
  const std::wstring work = dir_ + L"\\clipwork.dat";
  ::testing::AssertionResult made = WaitUntil(
      "the main window and clipwork.dat",
      [&] { return MainWindow() != nullptr && FileExists(work); },
      [&] { return State() + (FileExists(work) ? "; clipwork.dat made" : "; no clipwork.dat"); },
      timeoutMs);
  if (!made) return made;
  ::testing::AssertionResult idle = Idle(process_, timeoutMs);
  if (!idle) return idle << "; " << State();
  return Sync();
}

::testing::AssertionResult Kopiwell::Post(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND main = MainWindow();
  if (!main) return ::testing::AssertionFailure() << "no main window to post to; " << State();
  if (!PostMessageW(main, message, wParam, lParam)) return CallFailed("PostMessage");
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult Kopiwell::Sync() {
  HWND main = MainWindow();
  if (!main) return ::testing::AssertionFailure() << "no main window to ask; " << State();
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kDeadlineMs, &answer))
    return CallFailed("SendMessageTimeout") << " in " << kDeadlineMs << " ms; " << State();
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult Kopiwell::Settle() {
  if (!process_) return ::testing::AssertionFailure() << "not started";
  ::testing::AssertionResult idle = Idle(process_, kDeadlineMs);
  if (!idle) return idle << "; " << State();
  return Sync();
}

::testing::AssertionResult Kopiwell::Goodbye() { return Post(WM_COMMAND, 1003, 0); }

::testing::AssertionResult Kopiwell::WaitExit(DWORD* exitCode, DWORD timeoutMs) {
  if (!process_) return ::testing::AssertionFailure() << "not started";
  if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0)
    return ::testing::AssertionFailure()
           << "waited " << timeoutMs << " ms for the program to end; last saw: " << State();
  GetExitCodeProcess(process_, exitCode);
  return ::testing::AssertionSuccess() << "ended with exit code " << *exitCode;
}

bool Kopiwell::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::string Kopiwell::State() const {
  if (!process_) return "not started";
  if (!Running()) {
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return "ended with exit code " + std::to_string(code);
  }
  return std::string("running, ") + (MainWindow() ? "main window made" : "no main window") +
         ", on screen: " + WindowsOf(pid_);
}

HWND FindDialog(DWORD pid, const std::wstring& caption) {
  return FindTopLevel(pid, [&](HWND hwnd) {
    return IsWindowVisible(hwnd) && ClassOf(hwnd) == L"#32770" && TextOf(hwnd) == caption;
  });
}

::testing::AssertionResult WaitDialog(DWORD pid, const std::wstring& caption, HWND* found) {
  HWND dialog = nullptr;
  ::testing::AssertionResult shown = WaitUntil(
      "a dialog \"" + Narrow(caption) + "\"",
      [&] { return (dialog = FindDialog(pid, caption)) != nullptr; },
      [&] { return WindowsOf(pid); });
  if (found) *found = dialog;
  return shown;
}

::testing::AssertionResult WaitDialogGone(DWORD pid, const std::wstring& caption) {
  return WaitUntil(
      "the dialog \"" + Narrow(caption) + "\" to close",
      [&] { return FindDialog(pid, caption) == nullptr; }, [&] { return WindowsOf(pid); });
}

std::wstring MessageText(HWND box) { return TextOf(GetDlgItem(box, 0xFFFF)); }

std::string WindowsOf(DWORD pid) {
  std::string seen;
  FindTopLevel(pid, [&](HWND hwnd) {
    if (!IsWindowVisible(hwnd)) return false;
    if (!seen.empty()) seen += ", ";
    seen += Narrow(ClassOf(hwnd)) + " \"" + Narrow(TextOf(hwnd)) + "\"";
    if (HWND text = GetDlgItem(hwnd, 0xFFFF)) seen += " saying \"" + Narrow(TextOf(text)) + "\"";
    return false;  // on to the next window
  });
  return seen.empty() ? "no window" : seen;
}

void PressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

struct ClipboardViewer::State {
  Manners manners = ClipboardViewer::kPassesOn;
  HANDLE thread = nullptr;
  HANDLE ready = nullptr;
  HANDLE release = nullptr;  // lets a hanging viewer go on
  HWND window = nullptr;
  HWND next = nullptr;
  volatile LONG count = 0;
  volatile LONG distinct = 0;
  DWORD lastSequence = 0;  // the viewer's thread alone touches it
  bool left = false;
};

namespace {

constexpr UINT kLeaveChain = WM_APP + 1;

LRESULT CALLBACK ViewerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<ClipboardViewer::State*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_CLIPBOARDUPDATE:
      if (OpenClipboard(hwnd)) {
        GetClipboardData(CF_TEXT);
        Sleep(30);  // what the reader plays: a program busy with the content
        CloseClipboard();
      }
      InterlockedIncrement(&state->count);
      return 0;
    case WM_DRAWCLIPBOARD:
      // Once out of the chain it passes nothing on, as a program that
      // has closed would: whoever still sends to it cuts the chain.
      if (state->left) return 0;
      InterlockedIncrement(&state->count);
      if (state->manners == ClipboardViewer::kHangs && WaitForSingleObject(state->ready, 0) == WAIT_OBJECT_0) {
        WaitForSingleObject(state->release, INFINITE);
        return 0;
      }
      if (state->manners == ClipboardViewer::kPassesNothing) return 0;
      if (GetClipboardSequenceNumber() != state->lastSequence) {
        state->lastSequence = GetClipboardSequenceNumber();
        InterlockedIncrement(&state->distinct);
      }
      if (state->next) SendMessageW(state->next, message, wParam, lParam);
      return 0;
    case WM_CHANGECBCHAIN:
      if (reinterpret_cast<HWND>(wParam) == state->next)
        state->next = reinterpret_cast<HWND>(lParam);
      else if (state->next)
        SendMessageW(state->next, message, wParam, lParam);
      return 0;
    case kLeaveChain:
      ChangeClipboardChain(hwnd, state->next);
      state->left = true;
      return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

DWORD WINAPI ViewerThread(void* param) {
  auto* state = static_cast<ClipboardViewer::State*>(param);
  WNDCLASSW wc = {};
  wc.lpfnWndProc = ViewerProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"KopiwellTestViewer";
  RegisterClassW(&wc);
  state->window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  wc.hInstance, nullptr);
  SetWindowLongPtrW(state->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  if (state->manners == ClipboardViewer::kHoldsOpen) {
    AddClipboardFormatListener(state->window);
    state->left = true;  // never in the chain
  } else {
    state->next = SetClipboardViewer(state->window);
  }
  SetEvent(state->ready);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  DestroyWindow(state->window);
  return 0;
}

}  // namespace

ClipboardViewer::ClipboardViewer(Manners manners) : state_(new State) {
  state_->manners = manners;
  state_->ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  state_->release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  state_->thread = CreateThread(nullptr, 0, ViewerThread, state_, 0, nullptr);
  WaitForSingleObject(state_->ready, kDeadlineMs);
}

ClipboardViewer::~ClipboardViewer() {
  SetEvent(state_->release);
  Leave();
  PostMessageW(state_->window, WM_QUIT, 0, 0);
  WaitForSingleObject(state_->thread, kDeadlineMs);
  CloseHandle(state_->thread);
  CloseHandle(state_->ready);
  CloseHandle(state_->release);
  delete state_;
}

int ClipboardViewer::Notifications() const { return static_cast<int>(state_->count); }

int ClipboardViewer::DistinctContents() const { return static_cast<int>(state_->distinct); }

void ClipboardViewer::Leave() {
  if (!state_->left) SendMessageW(state_->window, kLeaveChain, 0, 0);
}

namespace {

// The notification area of the virtual desktop's taskbar paints its icons
// side by side from its right end, each in a square slot of the small
// icon size and a border of 2 pixels.
std::vector<RECT> TraySlots() {
  std::vector<RECT> slots;
  HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
  if (!tray || !IsWindowVisible(tray)) return slots;
  RECT client;
  GetClientRect(tray, &client);
  MapWindowPoints(tray, nullptr, reinterpret_cast<POINT*>(&client), 2);
  const int side = GetSystemMetrics(SM_CXSMICON) + 4;
  const int top = client.top + (client.bottom - client.top - side) / 2;
  for (int right = client.right; right - side >= client.left && slots.size() < 8; right -= side)
    slots.push_back(RECT{right - side, top, right, top + side});
  return slots;
}

// What a slot shows: the program's normal icon has blue lines on a white
// sheet, its paused icon red bars; an empty slot shows neither.
TrayPicture SlotPicture(HDC screen, const RECT& r) {
  int blue = 0, red = 0, dark = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      const COLORREF c = GetPixel(screen, x, y);
      const int cr = GetRValue(c), cg = GetGValue(c), cb = GetBValue(c);
      if (cb > 150 && cr < 100 && cg < 150) ++blue;
      if (cr > 180 && cg < 90 && cb < 90) ++red;
      if (cr + cg + cb < 200) ++dark;
    }
  }
  if (red > 4 && blue == 0) return TrayPicture::kPaused;
  if (blue > 4 && red == 0) return TrayPicture::kNormal;
  return blue + red + dark == 0 ? TrayPicture::kNone : TrayPicture::kUnknown;
}

std::vector<TrayPicture> TrayPictures() {
  std::vector<TrayPicture> pictures;
  HDC screen = GetDC(nullptr);
  for (const RECT& slot : TraySlots()) {
    const TrayPicture p = SlotPicture(screen, slot);
    if (p == TrayPicture::kNone) break;
    pictures.push_back(p);
  }
  ReleaseDC(nullptr, screen);
  return pictures;
}

}  // namespace

void PrintTo(TrayPicture picture, std::ostream* os) {
  static const char* const kNames[] = {"no icon", "the normal icon", "the paused icon",
                                       "an unknown picture"};
  *os << kNames[static_cast<int>(picture)];
}

int TrayIconCount() { return static_cast<int>(TrayPictures().size()); }

TrayPicture TrayIconPicture() {
  const std::vector<TrayPicture> pictures = TrayPictures();
  return pictures.empty() ? TrayPicture::kNone : pictures.front();
}

::testing::AssertionResult WaitTrayPicture(TrayPicture expected) {
  return WaitFor("the tray icon to show " + ::testing::PrintToString(expected), TrayIconPicture,
                 [&](TrayPicture seen) { return seen == expected; });
}

void PressKey(WORD key, std::initializer_list<WORD> modifiers) {
  std::vector<INPUT> inputs;
  auto add = [&](WORD vk, DWORD flags) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = flags;
    inputs.push_back(in);
  };
  for (WORD m : modifiers) add(m, 0);
  add(key, 0);
  add(key, KEYEVENTF_KEYUP);
  for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) add(*it, KEYEVENTF_KEYUP);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeText(const std::string& ascii) { TypeText(std::wstring(ascii.begin(), ascii.end())); }

void TypeText(const std::wstring& units) {
  std::vector<INPUT> inputs = TypedKeys(units);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HWND FindPopupMenu() {
  HWND menu = FindWindowW(L"#32768", nullptr);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

::testing::AssertionResult WaitMenu() {
  return WaitUntil("a popup menu on the screen", [] { return FindPopupMenu() != nullptr; }, Front);
}

::testing::AssertionResult WaitMenuGone() {
  return WaitUntil("the popup menu to close", [] { return FindPopupMenu() == nullptr; }, Front);
}

void Click(HWND dialog, int id) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_NORMAL, kDeadlineMs, &result);
}

::testing::AssertionResult IsChecked(HWND dialog, int id) {
  HWND box = GetDlgItem(dialog, id);
  const LRESULT state = SendMessageW(box, BM_GETCHECK, 0, 0);
  ::testing::AssertionResult checked(state == BST_CHECKED);
  return checked << "the box " << id << " \"" << Narrow(TextOf(box)) << "\" has the state "
                 << state << " (1 ticked)";
}

void SetText(HWND dialog, int id, const std::string& utf8) {
  const std::wstring text = Widen(utf8);
  DWORD_PTR result = 0;
  SendMessageTimeoutW(GetDlgItem(dialog, id), WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, kDeadlineMs, &result);
}

std::string TextA(HWND hwnd) {
  DWORD_PTR length = 0;
  SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kDeadlineMs, &length);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutA(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                      SMTO_NORMAL, kDeadlineMs, &got);
  text.resize(static_cast<size_t>(got));
  return text;
}

HWND FindHistoryList(DWORD pid) {
  HWND window = FindTopLevel(pid, [](HWND hwnd) {
    return ClassOf(hwnd) == L"#32770" && GetDlgItem(hwnd, IDC_LISTVIEW) != nullptr;
  });
  return window ? GetDlgItem(window, IDC_LISTVIEW) : nullptr;
}

HWND FocusOfThread(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus
                                                                             : nullptr;
}

bool InFrontWithFocus(HWND window, HWND focus) {
  return GetForegroundWindow() == window && FocusOfThread(window) == focus;
}

bool ListInFront(HWND list) {
  return IsWindowVisible(ListWindow(list)) && InFrontWithFocus(ListWindow(list), list);
}

bool ListHidden(HWND list) { return !IsWindowVisible(ListWindow(list)); }

::testing::AssertionResult WaitRows(HWND list, int rows, DWORD timeoutMs) {
  return WaitFor(
      "the list to hold " + std::to_string(rows) + " rows", [&] { return RowCount(list); },
      [&](int seen) { return seen == rows; }, timeoutMs);
}

::testing::AssertionResult WaitCursor(HWND list, int row) {
  return WaitFor(
      "the cursor on row " + std::to_string(row), [&] { return CursorRow(list); },
      [&](int seen) { return seen == row; });
}

::testing::AssertionResult WaitListInFront(HWND list) {
  return WaitUntil("the list in front with the focus", [&] { return ListInFront(list); }, Front);
}

::testing::AssertionResult WaitListHidden(HWND list) {
  return WaitUntil("the list to hide", [&] { return ListHidden(list); }, Front);
}

std::string Front() {
  HWND front = GetForegroundWindow();
  wchar_t cls[64] = {}, text[128] = {};
  GetClassNameW(front, cls, 64);
  GetWindowTextW(front, text, 128);
  wchar_t focus[64] = {};
  GetClassNameW(FocusOfThread(front), focus, 64);
  return "in front: " + Narrow(cls) + " \"" + Narrow(text) + "\", focus " + Narrow(focus);
}

RECT RowScreenRect(HWND list, int row) {
  RECT rect = {};
  DWORD pid = 0;
  GetWindowThreadProcessId(list, &pid);
  HANDLE process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return rect;
  void* remote = VirtualAllocEx(process, nullptr, sizeof rect, MEM_COMMIT, PAGE_READWRITE);
  rect.left = LVIR_LABEL;
  SIZE_T done = 0;
  if (remote && WriteProcessMemory(process, remote, &rect, sizeof rect, &done) &&
      SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(remote)))
    ReadProcessMemory(process, remote, &rect, sizeof rect, &done);
  else
    rect = RECT{};
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// Moves the pointer and waits until it rests there: clicks given before
// would land elsewhere, and two of them would make no double-click. The
// first move of a session can be followed by the display's own report of
// where the pointer was, which puts it back; then it is moved again.
void MovePointer(POINT at) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT move = {};
  move.type = INPUT_MOUSE;
  move.mi.dx = at.x * 65535 / (width - 1);
  move.mi.dy = at.y * 65535 / (height - 1);
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  auto there = [&] {
    POINT now;
    return GetCursorPos(&now) && now.x == at.x && now.y == at.y;
  };
  for (int attempt = 0; attempt < 5; ++attempt) {
    SendInput(1, &move, sizeof move);
    if (!WaitUntil("the pointer to arrive", there)) continue;
    // Resting: still there after a number of looks over 100 ms.
    int looks = 0;
    WaitUntil("the pointer to rest or move", [&] { return !there() || ++looks >= 10; }, 1000);
    if (there()) return;
  }
}

namespace {

void Clicks(DWORD down, DWORD up, int times) {
  std::vector<INPUT> clicks(static_cast<size_t>(2 * times));
  for (size_t i = 0; i < clicks.size(); ++i) {
    clicks[i].type = INPUT_MOUSE;
    clicks[i].mi.dwFlags = i % 2 ? up : down;
  }
  SendInput(static_cast<UINT>(clicks.size()), clicks.data(), sizeof(INPUT));
}

}  // namespace

void DoubleClickAt(POINT at) {
  MovePointer(at);
  Clicks(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 2);
}

void RightClickAt(POINT at) {
  MovePointer(at);
  Clicks(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 1);
}

std::string ReadIniValue(const std::wstring& iniPath, const char* key) {
  const std::string prefix = std::string(key) + "=";
  for (const std::string& line : Lines(ReadFileBytes(iniPath)))
    if (line.compare(0, prefix.size(), prefix) == 0) return line.substr(prefix.size());
  return "";
}

Editor::Editor(const char* title, RECT place, std::wstring exe)
    : title_(Widen(title)), place_(place), exe_(std::move(exe)) {}

std::wstring Editor::BuiltPath() { return ProgramPath(EDITOR_EXE); }

Editor::~Editor() {
  Close();
}

::testing::AssertionResult Editor::Start() {
  const std::wstring args = L"\"" + title_ + L"\" " + std::to_wstring(place_.left) + L" " +
                            std::to_wstring(place_.top) + L" " +
                            std::to_wstring(place_.right - place_.left) + L" " +
                            std::to_wstring(place_.bottom - place_.top);
  PROCESS_INFORMATION info;
  if (!Launch(exe_.empty() ? BuiltPath() : exe_, args, L"", &info))
    return CallFailed("CreateProcess") << " for the editor \"" << Narrow(title_) << "\"";
  process_ = info.hProcess;
  const DWORD pid = info.dwProcessId;
  // The window exists a moment before its edit control does.
  ::testing::AssertionResult made = WaitUntil(
      "the editor \"" + Narrow(title_) + "\" and its edit control",
      [&] {
        window_ = FindTopLevel(pid, [](HWND h) { return ClassOf(h) == L"KopiwellTestEditor"; });
        edit_ = window_ ? FindWindowExW(window_, nullptr, L"Edit", nullptr) : nullptr;
        return edit_ != nullptr;
      },
      [&] { return WindowsOf(pid); });
  if (!made) return made;
  return Activate();
}

bool Editor::InFront() const { return InFrontWithFocus(window_, edit_); }

// Asks again now and then: under Wine another program's late reaction to
// an earlier change of the active window can take the front away again.
::testing::AssertionResult Editor::Activate() {
  ULONGLONG asked = 0;
  ::testing::AssertionResult front = WaitUntil(
      "the editor \"" + Narrow(title_) + "\" in front with the focus in its edit control",
      [&] {
        if (InFront()) return true;
        if (GetTickCount64() - asked > 200) {
          SetForegroundWindow(window_);
          asked = GetTickCount64();
        }
        return false;
      },
      Front);
  if (!front) return front;
  ::testing::AssertionResult idle = Idle(process_, kDeadlineMs);
  if (!idle) return idle << " (the editor \"" << Narrow(title_) << "\")";
  return idle;
}

std::string Editor::Text() const { return TextA(edit_); }

std::wstring Editor::WideText() const {
  DWORD_PTR length = 0;
  SendMessageTimeoutW(edit_, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kDeadlineMs, &length);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(edit_, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                      SMTO_NORMAL, kDeadlineMs, &got);
  text.resize(static_cast<size_t>(got));
  return text;
}

void Editor::Close() {
  if (!process_) return;
  if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process_, kDeadlineMs) != WAIT_OBJECT_0) TerminateProcess(process_, 9);
  CloseHandle(process_);
  process_ = nullptr;
  window_ = edit_ = nullptr;
}

}  // namespace e2e

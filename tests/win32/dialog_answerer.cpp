#include "win32/dialog_answerer.h"

#include "common/text.h"
#include "common/wait.h"

namespace {

BOOL CALLBACK CollectLabel(HWND child, LPARAM param) {
  wchar_t name[32] = {}, text[512] = {};
  GetClassNameW(child, name, 32);
  const LONG kind = GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK;
  if (lstrcmpiW(name, L"Static") == 0 && kind != SS_ICON && GetWindowTextW(child, text, 512) > 0)
    reinterpret_cast<std::vector<std::string>*>(param)->push_back(Narrow(text));
  return TRUE;
}

// This process's visible top-level windows, with class and caption.
BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != GetCurrentProcessId() || !IsWindowVisible(hwnd)) return TRUE;
  wchar_t name[32] = {}, text[256] = {};
  GetClassNameW(hwnd, name, 32);
  GetWindowTextW(hwnd, text, 256);
  auto* seen = reinterpret_cast<std::string*>(param);
  *seen += (seen->empty() ? "" : ", ") + Narrow(name) + " \"" + Narrow(text) + "\"";
  return TRUE;
}

std::string WindowsOfThisProcess() {
  std::string seen;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&seen));
  return seen.empty() ? "no window" : seen;
}

}  // namespace

DialogAnswerer::DialogAnswerer(const char* caption, int button, std::function<void()> whileOpen)
    : caption_(Widen(caption)), whileOpen_(std::move(whileOpen)), button_(button) {
  thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

DialogAnswerer::~DialogAnswerer() {
  WaitForSingleObject(thread_, 20000);
  CloseHandle(thread_);
}

void DialogAnswerer::Cancel() { InterlockedExchange(&cancelled_, 1); }

::testing::AssertionResult DialogAnswerer::Answered() {
  WaitForSingleObject(thread_, 20000);
  if (answered_) return ::testing::AssertionSuccess();
  if (!seen_.empty()) return ::testing::AssertionFailure() << seen_;
  return ::testing::AssertionFailure() << "no dialog \"" << Narrow(caption_) << "\" answered";
}

DWORD WINAPI DialogAnswerer::Run(void* param) {
  auto* self = static_cast<DialogAnswerer*>(param);
  HWND dialog = nullptr;
  bool cancelled = false;
  const ::testing::AssertionResult found = WaitUntil(
      "a dialog \"" + Narrow(self->caption_) + "\" of this process",
      [&] {
        if ((cancelled = self->cancelled_ != 0)) return true;
        dialog = FindWindowW(L"#32770", self->caption_.c_str());
        DWORD pid = 0;
        if (dialog) GetWindowThreadProcessId(dialog, &pid);
        return dialog && pid == GetCurrentProcessId() && IsWindowVisible(dialog);
      },
      WindowsOfThisProcess, 15000);
  if (!found) {
    self->seen_ = found.message();
    return 0;
  }
  if (cancelled) return 0;
  self->owner_ = GetWindow(dialog, GW_OWNER);
  EnumChildWindows(dialog, CollectLabel, reinterpret_cast<LPARAM>(&self->labels_));
  if (self->whileOpen_) self->whileOpen_();
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(self->button_, BN_CLICKED), 0);
  self->answered_ = true;
  return 0;
}

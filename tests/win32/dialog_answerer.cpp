#include "win32/dialog_answerer.h"

#include "common/text.h"

namespace {

BOOL CALLBACK CollectLabel(HWND child, LPARAM param) {
  wchar_t name[32] = {}, text[512] = {};
  GetClassNameW(child, name, 32);
  const LONG kind = GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK;
  if (lstrcmpiW(name, L"Static") == 0 && kind != SS_ICON && GetWindowTextW(child, text, 512) > 0)
    reinterpret_cast<std::vector<std::string>*>(param)->push_back(Narrow(text));
  return TRUE;
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

bool DialogAnswerer::Answered() {
  WaitForSingleObject(thread_, 20000);
  return answered_;
}

DWORD WINAPI DialogAnswerer::Run(void* param) {
  auto* self = static_cast<DialogAnswerer*>(param);
  const ULONGLONG deadline = GetTickCount64() + 15000;
  while (GetTickCount64() < deadline && !self->cancelled_) {
    HWND dialog = FindWindowW(L"#32770", self->caption_.c_str());
    DWORD pid = 0;
    if (dialog) GetWindowThreadProcessId(dialog, &pid);
    if (dialog && pid == GetCurrentProcessId() && IsWindowVisible(dialog)) {
      self->owner_ = GetWindow(dialog, GW_OWNER);
      EnumChildWindows(dialog, CollectLabel, reinterpret_cast<LPARAM>(&self->labels_));
      if (self->whileOpen_) self->whileOpen_();
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(self->button_, BN_CLICKED), 0);
      self->answered_ = true;
      return 0;
    }
    Sleep(10);
  }
  return 0;
}

// The clipboard as another program uses it: text put on it and read back,
// waiting while someone else holds it open.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "common/wait.h"

// Holds the clipboard open on a thread of its own until released.
class ClipboardHolder {
 public:
  ClipboardHolder()
      : opened_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        release_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        thread_(CreateThread(nullptr, 0, Hold, this, 0, nullptr)) {
    WaitForSingleObject(opened_, 10000);
  }
  ~ClipboardHolder() {
    Release();
    CloseHandle(thread_);
    CloseHandle(opened_);
    CloseHandle(release_);
  }
  ClipboardHolder(const ClipboardHolder&) = delete;
  ClipboardHolder& operator=(const ClipboardHolder&) = delete;
  void Release() {
    SetEvent(release_);
    WaitForSingleObject(thread_, 10000);
  }

 private:
  static DWORD WINAPI Hold(void* self) {
    auto* h = static_cast<ClipboardHolder*>(self);
    OpenClipboard(nullptr);
    SetEvent(h->opened_);
    WaitForSingleObject(h->release_, 10000);
    CloseClipboard();
    return 0;
  }
  HANDLE opened_, release_, thread_;
};

// Who holds the clipboard open, for failure messages.
inline std::string ClipboardOpener() {
  HWND window = GetOpenClipboardWindow();
  if (!window) return "held open by a thread without a window";
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return "held open by a window " + Narrow(name) + " of process " + std::to_string(pid);
}

// Opens the clipboard for this thread, waiting while another program
// holds it.
inline ::testing::AssertionResult OpenClipboardSoon() {
  return WaitUntil(
      "the clipboard to open", [] { return OpenClipboard(nullptr) != FALSE; }, ClipboardOpener);
}

// Puts `size` bytes on the open clipboard in a block of `blockSize`
// zero-filled bytes; *put becomes a failure when the clipboard refuses.
inline void PutOnClipboard(UINT format, const void* data, size_t size, size_t blockSize,
                           ::testing::AssertionResult* put) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, blockSize);
  if (!block) {
    *put = ::testing::AssertionFailure() << "no memory for " << blockSize << " bytes";
    return;
  }
  std::memcpy(GlobalLock(block), data, size);
  GlobalUnlock(block);
  if (SetClipboardData(format, block)) return;
  const DWORD error = GetLastError();
  GlobalFree(block);  // the clipboard refused it, so it is still ours
  *put = ::testing::AssertionFailure()
         << "the clipboard refused format " << format << " with error " << error;
}

// Puts text on the clipboard as another program would: CF_TEXT holding
// the bytes and a terminating zero, plus any extra registered formats
// with their data. Retries while another program holds the clipboard.
struct ExtraFormat {
  const wchar_t* name;
  std::string data;
};
inline ::testing::AssertionResult CopyText(const std::string& bytes,
                                           std::initializer_list<ExtraFormat> extra = {}) {
  ::testing::AssertionResult ok = OpenClipboardSoon();
  if (!ok) return ok;
  EmptyClipboard();
  PutOnClipboard(CF_TEXT, bytes.data(), bytes.size(), bytes.size() + 1, &ok);
  for (const ExtraFormat& f : extra)
    PutOnClipboard(RegisterClipboardFormatW(f.name), f.data.data(), f.data.size(),
                   f.data.size() + 1, &ok);
  CloseClipboard();
  return ok;
}

// Copies the text as a Unicode program does: CF_UNICODETEXT alone, with
// the copying thread's input locale as CF_LOCALE, from which the system
// makes CF_TEXT.
inline ::testing::AssertionResult CopyUnicode(const std::wstring& text, LCID locale) {
  ::testing::AssertionResult ok = OpenClipboardSoon();
  if (!ok) return ok;
  EmptyClipboard();
  const size_t size = (text.size() + 1) * sizeof(wchar_t);
  PutOnClipboard(CF_UNICODETEXT, text.c_str(), size, size, &ok);
  PutOnClipboard(CF_LOCALE, &locale, sizeof locale, sizeof locale, &ok);
  CloseClipboard();
  return ok;
}

// The CF_TEXT bytes on the clipboard up to their first zero; "" if none.
inline std::string ClipboardText() {
  if (!OpenClipboardSoon()) return "<clipboard busy>";
  std::string text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
      const size_t size = GlobalSize(data);
      text.assign(bytes, std::find(bytes, bytes + size, '\0'));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// Waits until the clipboard holds the text as its CF_TEXT.
inline ::testing::AssertionResult WaitClipboard(const std::string& text) {
  return WaitFor("the clipboard to hold " + Shown(text), ClipboardText,
                 [&](const std::string& seen) { return seen == text; });
}

// The CF_UNICODETEXT text on the clipboard up to its first zero; "" if none.
inline std::wstring ClipboardWideText() {
  if (!OpenClipboardSoon()) return L"<clipboard busy>";
  std::wstring text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const wchar_t* units = static_cast<const wchar_t*>(GlobalLock(data))) {
      text.assign(units, std::find(units, units + GlobalSize(data) / sizeof(wchar_t), L'\0'));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// The clipboard's formats in the order readers find them: those placed,
// in the order they were placed, then those the system makes from them.
// *locale (when given) gets CF_LOCALE's, 0 if none.
inline std::vector<UINT> ClipboardFormats(LCID* locale = nullptr) {
  std::vector<UINT> formats;
  if (locale) *locale = 0;
  if (!OpenClipboardSoon()) return formats;
  for (UINT f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f)) formats.push_back(f);
  if (HANDLE data = locale ? GetClipboardData(CF_LOCALE) : nullptr) {
    if (const LCID* id = static_cast<const LCID*>(GlobalLock(data))) {
      *locale = *id;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return formats;
}

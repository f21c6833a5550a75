// Answers a modal dialog of this process from a second thread: the code
// under test blocks in the dialog's loop until the dialog is closed.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

class DialogAnswerer {
 public:
  // Waits for a visible dialog with the caption (UTF-8), records its
  // texts, and presses the button.
  DialogAnswerer(const char* caption, int button, std::function<void()> whileOpen = nullptr);
  ~DialogAnswerer();  // waits for the thread
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;

  // After the dialog has returned: whether it came and was answered, and
  // if not, which windows of this process were on the screen instead.
  ::testing::AssertionResult Answered();
  void Cancel();    // no dialog is coming: stop looking
  // The texts of the dialog's static controls, in creation order, UTF-8.
  const std::vector<std::string>& Labels() const { return labels_; }
  // Every label's text, one after another.
  std::string Text() const {
    std::string text;
    for (const std::string& label : labels_) text += label;
    return text;
  }
  HWND Owner() const { return owner_; }

 private:
  static DWORD WINAPI Run(void* self);
  std::wstring caption_;
  std::function<void()> whileOpen_;
  int button_;
  HANDLE thread_ = nullptr;
  volatile LONG cancelled_ = 0;
  bool answered_ = false;
  std::string seen_;  // the windows seen when the wait ran out
  HWND owner_ = nullptr;
  std::vector<std::string> labels_;
};

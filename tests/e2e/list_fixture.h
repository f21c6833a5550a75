// The ground of the tests that use the history list: the program with a
// history and settings of the test's choice, the user's editor in front,
// and the steps of calling the list up and checking what it pasted.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "program_test.h"

namespace e2e {

class ListProgramTest : public ProgramTest {
 protected:
  // The program with the entries in its data file and the INI changes,
  // and the editor in front.
  void Start(std::initializer_list<std::string> entries,
             std::initializer_list<IniValue> ini = {}) {
    WriteIni(dir_.Path(), ini);
    WriteFileBytes(Data(), DataFile(entries));
    list_ = StartReady(app_);
    ASSERT_NE(nullptr, list_);
    ASSERT_TRUE(editor_.Start()) << "the editor must be in front with the focus";
  }

  // What is in front, for failure messages.
  static std::string Front() {
    HWND front = GetForegroundWindow();
    wchar_t cls[64] = {}, text[128] = {};
    GetClassNameW(front, cls, 64);
    GetWindowTextW(front, text, 128);
    wchar_t focus[64] = {};
    GetClassNameW(FocusOfThread(front), focus, 64);
    return "in front: " + Narrow(cls) + " \"" + Narrow(text) + "\", focus " + Narrow(focus);
  }

  // The list hotkey, typed while the editor has the focus; `app` is the
  // run that shows list_.
  void CallList(Kopiwell& app) {
    ASSERT_TRUE(app.Settle());
    ASSERT_TRUE(ListHidden(list_));
    PressKey('7', {VK_CONTROL});
    ASSERT_TRUE(WaitUntil([&] { return ListInFront(list_); })) << Front();
    ASSERT_TRUE(app.Settle());
  }
  void CallList() { CallList(app_); }

  // Waits until the list has gone and the editor holds the text.
  void ExpectPasted(Editor& editor, const std::string& text) {
    EXPECT_TRUE(WaitUntil([&] { return editor.Text() == text; }))
        << "editor holds \"" << editor.Text() << "\", clipboard \"" << ClipboardText()
        << "\", list " << (ListHidden(list_) ? "hidden" : "shown") << ", " << Front();
    ASSERT_TRUE(app_.Sync());
  }

  void Answer(const wchar_t* caption, const char* expectedText) {
    HWND box = WaitDialog(app_.Pid(), caption);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(expectedText, Narrow(MessageText(box)));
    PressButton(box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return FindDialog(app_.Pid(), caption) == nullptr; }));
  }

  // Presses a key and waits for what it must bring about.
  void KeyUntil(WORD key, std::initializer_list<WORD> modifiers,
                const std::function<bool()>& done, const char* what) {
    PressKey(key, modifiers);
    ASSERT_TRUE(WaitUntil(done)) << what;
  }
  void ExpectSelected(std::vector<int> rows) {
    EXPECT_TRUE(WaitUntil([&] { return SelectedRows(list_) == rows; }))
        << "selected " << ::testing::PrintToString(SelectedRows(list_));
  }

  // The list window's place and size as "x,y wxh".
  std::string ListPlace() {
    RECT r;
    GetWindowRect(ListWindow(list_), &r);
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
  }

  Kopiwell app_{dir_.Path()};
  Editor editor_{"editor", {500, 400, 900, 700}};
  HWND list_ = nullptr;
};

}  // namespace e2e

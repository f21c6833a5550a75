// The ground of the tests that use the history list: the program with a
// history and settings of the test's choice, the user's editor in front,
// and the steps of calling the list up and checking what it pasted. The
// steps that check are called through their macros, as in program_test.h.
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
  void Start(const char* file, int line, const std::vector<std::string>& entries,
             std::initializer_list<IniValue> ini = {}) {
    ::testing::ScopedTrace trace(file, line, "Start");
    WriteIni(dir_.Path(), ini);
    WriteFileBytes(Data(), DataFile(entries));
    list_ = START_READY(app_);
    ASSERT_NE(nullptr, list_);
    ASSERT_TRUE(editor_.Start()) << "the editor must be in front with the focus";
  }

  // The list hotkey, typed while the editor has the focus; `app` is the
  // run that shows list_.
  void CallList(const char* file, int line, Kopiwell& app) {
    ::testing::ScopedTrace trace(file, line, "CallList");
    ASSERT_TRUE(app.Settle());
    ASSERT_TRUE(ListHidden(list_)) << "the list is up before the hotkey; " << Front();
    PressKey('7', {VK_CONTROL});
    ASSERT_TRUE(WaitListInFront(list_));
    ASSERT_TRUE(app.Settle());
  }

  // Waits until the list has gone and the editor holds the text.
  void ExpectPasted(const char* file, int line, Editor& editor, const std::string& text) {
    ::testing::ScopedTrace trace(file, line, "ExpectPasted");
    EXPECT_TRUE(WaitFor(
        "the editor to hold the paste", [&] { return editor.Text(); },
        [&](const std::string& seen) { return seen == text; }))
        << "clipboard \"" << ClipboardText() << "\", list "
        << (ListHidden(list_) ? "hidden" : "shown") << ", " << Front();
    ASSERT_TRUE(app_.Sync());
  }

  void Answer(const char* file, int line, const wchar_t* caption, const char* expectedText) {
    ::testing::ScopedTrace trace(file, line, "Answer");
    HWND box = nullptr;
    ASSERT_TRUE(WaitDialog(app_.Pid(), caption, &box));
    EXPECT_EQ(expectedText, Narrow(MessageText(box)));
    PressButton(box, IDOK);
    ASSERT_TRUE(WaitDialogGone(app_.Pid(), caption));
  }

  // Presses a key and waits for what it must bring about: `done` is the
  // wait.
  void KeyUntil(const char* file, int line, WORD key, std::initializer_list<WORD> modifiers,
                const std::function<::testing::AssertionResult()>& done, const char* what) {
    ::testing::ScopedTrace trace(file, line, "KeyUntil");
    PressKey(key, modifiers);
    ASSERT_TRUE(done()) << what;
  }
  void ExpectSelected(const char* file, int line, std::vector<int> rows) {
    ::testing::ScopedTrace trace(file, line, "ExpectSelected");
    EXPECT_TRUE(WaitSelected("the rows " + ::testing::PrintToString(rows) + " selected",
                             [&](const std::vector<int>& seen) { return seen == rows; }));
  }
  // Waits until the selected rows are as `holds` wants them.
  ::testing::AssertionResult WaitSelected(
      const std::string& what, const std::function<bool(const std::vector<int>&)>& holds) {
    return WaitFor(what, [&] { return SelectedRows(list_); }, holds);
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

#define START(...) ASSERT_NO_FATAL_FAILURE(Start(__FILE__, __LINE__, __VA_ARGS__))
#define CALL_LIST(app) ASSERT_NO_FATAL_FAILURE(CallList(__FILE__, __LINE__, app))
#define EXPECT_PASTED(...) ASSERT_NO_FATAL_FAILURE(ExpectPasted(__FILE__, __LINE__, __VA_ARGS__))
#define ANSWER(...) ASSERT_NO_FATAL_FAILURE(Answer(__FILE__, __LINE__, __VA_ARGS__))
#define KEY_UNTIL(...) ASSERT_NO_FATAL_FAILURE(KeyUntil(__FILE__, __LINE__, __VA_ARGS__))
#define EXPECT_SELECTED(...) \
  ASSERT_NO_FATAL_FAILURE(ExpectSelected(__FILE__, __LINE__, __VA_ARGS__))

// The simple edit dialog from outside: called up with e, E and o from the
// list, following the list's cursor, storing what the user typed.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "list_fixture.h"
#include "resource.h"

using namespace e2e;

namespace {

class Viewer : public ListProgramTest {
 protected:
  // The dialog once it is on screen.
  HWND WaitViewer(const char* file, int line) {
    ::testing::ScopedTrace trace(file, line, "WaitViewer");
    HWND viewer = nullptr;
    EXPECT_TRUE(WaitDialog(app_.Pid(), Widen("コピウェル - 簡易編集"), &viewer));
    return viewer;
  }
  static HWND EditOf(HWND viewer) { return GetDlgItem(viewer, IDC_VIEWER_EDIT); }
  static bool ReadOnly(HWND viewer) {
    return (GetWindowLongW(EditOf(viewer), GWL_STYLE) & ES_READONLY) != 0;
  }
  static bool UpdateEnabled(HWND viewer) {
    return IsWindowEnabled(GetDlgItem(viewer, IDC_VIEWER_UPDATE)) != FALSE;
  }
  // In front with the keyboard focus in its edit box, ready for typing.
  static bool ReadyToType(HWND viewer) { return InFrontWithFocus(viewer, EditOf(viewer)); }
  static ::testing::AssertionResult WaitReadyToType(HWND viewer) {
    return WaitUntil("the viewer ready to type", [&] { return ReadyToType(viewer); }, Front);
  }
  // Waits until the edit box holds the text.
  static ::testing::AssertionResult WaitText(HWND viewer, const std::string& text) {
    return WaitFor(
        "the edit box to hold " + Shown(text), [&] { return TextA(EditOf(viewer)); },
        [&](const std::string& seen) { return seen == text; });
  }
  // Waits until the viewer is on the screen, or off it.
  ::testing::AssertionResult WaitShown(HWND viewer, bool shown) {
    return WaitUntil(shown ? "the viewer on the screen" : "the viewer to close",
                     [&] { return (IsWindowVisible(viewer) != FALSE) == shown; },
                     [&] { return WindowsOf(app_.Pid()); });
  }
};

std::string Text(size_t n, char first) {
  std::string text(n, ' ');
  for (size_t i = 0; i < n; ++i) text[i] = static_cast<char>(first + i % 26);
  return text;
}

}  // namespace

#define WAIT_VIEWER() WaitViewer(__FILE__, __LINE__)

// 29,999 bytes are shown whole and can be changed; a longer record is
// shown cut and read only, and is never stored back.
TEST_F(Viewer, ShowsUpTo29999BytesAndStoresAChangedTextWhole) {
  const std::string whole = Text(29999, 'a'), longer = Text(30000, 'A');
  START({whole, longer});
  CALL_LIST(app_);
  TypeText("e");
  HWND viewer = WAIT_VIEWER();
  ASSERT_TRUE(WaitListInFront(list_)) << "e leaves the focus in the list";
  EXPECT_EQ(whole.size(), TextA(EditOf(viewer)).size());
  EXPECT_FALSE(ReadOnly(viewer));

  TypeText("j");
  ASSERT_TRUE(WaitText(viewer, longer.substr(0, 29999))) << "moving the cursor loads the new row";
  EXPECT_TRUE(ReadOnly(viewer)) << "showing " << TextA(EditOf(viewer)).size() << " bytes";
  Click(viewer, IDOK);
  EXPECT_TRUE(WaitShown(viewer, false));

  // Back to the first row, into the edit box, one character added at the end.
  ASSERT_TRUE(WaitListInFront(list_));
  TypeText("kE");
  ASSERT_TRUE(WaitUntil(
      "the viewer on the screen ready to type",
      [&] { return IsWindowVisible(viewer) && ReadyToType(viewer); },
      [&] { return WindowsOf(app_.Pid()) + "; " + Front(); }));
  PressKey(VK_END, {VK_CONTROL});
  TypeText("!");
  ASSERT_TRUE(WaitFor(
      "the edit box to hold 30000 bytes", [&] { return TextA(EditOf(viewer)).size(); },
      [](size_t seen) { return seen == 30000; }));
  Click(viewer, IDOK);
  GOODBYE(app_);
  EXPECT_EQ(Hex(DataFile({whole + "!", longer})), Hex(ReadFileBytes(Data())))
      << "all 30,000 bytes are stored, and the long record as it was";
}

// 更新 stores the text for this row only: another row that shares its
// record (made by a put) keeps the old text. 取消 drops a change.
TEST_F(Viewer, UpdateStoresForThisRowOnlyAndCancelDropsTheChange) {
  START({"one", "two"});
  CALL_LIST(app_);
  TypeText("yypkE");
  ASSERT_TRUE(WaitRows(list_, 3));
  HWND viewer = WAIT_VIEWER();
  ASSERT_TRUE(WaitReadyToType(viewer));
  EXPECT_FALSE(UpdateEnabled(viewer)) << "nothing changed yet";
  PressKey(VK_END, {VK_CONTROL});
  TypeText("1");
  ASSERT_TRUE(WaitUntil(
      "更新 enabled", [&] { return UpdateEnabled(viewer); },
      [&] { return "the edit box holding " + Shown(TextA(EditOf(viewer))); }))
      << "typing enables 更新";
  Click(viewer, IDC_VIEWER_UPDATE);
  EXPECT_FALSE(UpdateEnabled(viewer)) << "stored, so disabled again";
  EXPECT_TRUE(IsWindowVisible(viewer)) << WindowsOf(app_.Pid());

  ASSERT_TRUE(WaitReadyToType(viewer));
  TypeText("2");
  ASSERT_TRUE(WaitText(viewer, "one12"));
  Click(viewer, IDCANCEL);
  EXPECT_TRUE(WaitShown(viewer, false));
  GOODBYE(app_);
  EXPECT_EQ(Hex(DataFile({"one1", "one", "two"})), Hex(ReadFileBytes(Data())));
}

TEST_F(Viewer, OOnAnEmptyListOpensAnEntryToTypeIn) {
  START({});
  CALL_LIST(app_);
  TypeText("o");
  HWND viewer = WAIT_VIEWER();
  ASSERT_TRUE(WaitUntil(
      "a row and the viewer ready to type",
      [&] { return RowCount(list_) == 1 && ReadyToType(viewer); },
      [&] { return std::to_string(RowCount(list_)) + " rows; " + Front(); }));
  EXPECT_EQ("", TextA(EditOf(viewer)));
  EXPECT_FALSE(ReadOnly(viewer));
  TypeText("a new entry");
  ASSERT_TRUE(WaitText(viewer, "a new entry"));
  Click(viewer, IDOK);
  GOODBYE(app_);
  EXPECT_EQ(Hex(DataFile({"a new entry"})), Hex(ReadFileBytes(Data())));
}

// The entry the dialog showed was deleted meanwhile: the program goes on,
// says so and keeps the typed text, instead of ending with a fatal error.
TEST_F(Viewer, AChangeToAnEntryThatIsGoneIsKeptAndExplained) {
  START({"only"});
  CALL_LIST(app_);
  TypeText("e");
  HWND viewer = WAIT_VIEWER();
  ASSERT_TRUE(WaitListInFront(list_));
  TypeText("dd");
  ASSERT_TRUE(WaitRows(list_, 0));
  SetText(viewer, IDC_VIEWER_EDIT, "typed meanwhile");
  SendMessageW(EditOf(viewer), EM_SETMODIFY, TRUE, 0);
  PressButton(viewer, IDOK);
  ANSWER(kErrorCaption.c_str(),
         "この項目は一覧にもうないため、変更を保存できませんでした。\n"
         "入力した文章はそのまま残してあります。");
  ASSERT_TRUE(WaitShown(viewer, true)) << "the dialog stays";
  EXPECT_EQ("typed meanwhile", TextA(EditOf(viewer)));
  EXPECT_TRUE(app_.Running()) << app_.State();
  GOODBYE(app_);
  EXPECT_EQ(Hex(DataFile({})), Hex(ReadFileBytes(Data())));
}

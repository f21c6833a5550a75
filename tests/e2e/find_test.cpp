// Finding entries by their text, from outside: the find bar's keys, the
// search again, every match selected and pasted at once, the standard
// mode's keys, a Japanese pattern, and a burst of keys into a large
// history.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "list_fixture.h"

using namespace e2e;

namespace {

// "gamma ヂ" in code page 932: its second byte is an "a".
const std::initializer_list<std::string> kEntries = {"alpha one", "beta", "Alpha two",
                                                      "gamma \x83\x61", "alpha three"};

class Find : public ListProgramTest {
 protected:
  // The bar's edit field has the keyboard.
  bool BarHasFocus() {
    HWND bar = FindWindowExW(ListWindow(list_), nullptr, L"Edit", nullptr);
    return bar && IsWindowVisible(bar) && FocusOfThread(ListWindow(list_)) == bar;
  }
  // The texts beside the bar's pattern.
  std::vector<std::wstring> BarLabels() {
    std::vector<std::wstring> labels;
    for (HWND w = nullptr; (w = FindWindowExW(ListWindow(list_), w, L"Static", nullptr));) {
      wchar_t text[64] = {};
      GetWindowTextW(w, text, 64);
      labels.push_back(text);
    }
    return labels;
  }
  // What the bar says after the pattern.
  bool BarSays(const std::wstring& status) {
    for (const std::wstring& label : BarLabels())
      if (status == label) return true;
    return false;
  }
  // The bar's pattern, what it says and where the keys go, for failure
  // messages.
  std::string BarSeen() {
    HWND bar = FindWindowExW(ListWindow(list_), nullptr, L"Edit", nullptr);
    wchar_t pattern[64] = {};
    GetWindowTextW(bar, pattern, 64);
    return std::string(bar && IsWindowVisible(bar) ? "the bar open" : "no bar") + " with \"" +
           Narrow(pattern) + "\", saying " + Shown(BarLabels()) + "; " + Front();
  }
  // Waits until the bar has, or has not, the keyboard.
  ::testing::AssertionResult WaitBarFocus(bool focus) {
    return WaitUntil(focus ? "the bar to take the keys" : "the bar to give the keys back",
                     [&] { return BarHasFocus() == focus; }, [&] { return BarSeen(); });
  }
  void Search(const char* file, int line, const std::wstring& opener, const std::wstring& text) {
    ::testing::ScopedTrace trace(file, line, "Search");
    TypeText(opener);
    ASSERT_TRUE(WaitBarFocus(true)) << "the bar opens";
    TypeText(text);
  }
  void CursorOn(const char* file, int line, int row) {
    ::testing::ScopedTrace trace(file, line, "CursorOn");
    EXPECT_TRUE(WaitCursor(list_, row)) << BarSeen();
    ASSERT_TRUE(app_.Sync());
  }
};

#define SEARCH(...) ASSERT_NO_FATAL_FAILURE(Search(__FILE__, __LINE__, __VA_ARGS__))
#define CURSOR_ON(row) ASSERT_NO_FATAL_FAILURE(CursorOn(__FILE__, __LINE__, row))

}  // namespace

TEST_F(Find, TheBarNAndEscapeMoveTheCursorAndAltEnterPastesEveryMatch) {
  START(kEntries);
  CALL_LIST(app_);
  SEARCH(L"/", L"alp");
  CURSOR_ON(2);  // from the row after the cursor, either case
  EXPECT_TRUE(WaitUntil(
      "the bar to say 3 matches", [&] { return BarSays(L"3 \x4ef6"); }, [&] { return BarSeen(); }))
      << "the bar counts the matches";
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitBarFocus(false));
  TypeText("n");
  CURSOR_ON(4);
  TypeText("N");
  CURSOR_ON(2);
  TypeText("2n");
  CURSOR_ON(0);  // round the end

  SEARCH(L"/", L"zzz");
  CURSOR_ON(0);
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitBarFocus(false));
  EXPECT_TRUE(WaitListInFront(list_)) << "Escape closes the bar, not the list";
  TypeText("n");
  CURSOR_ON(2);  // the pattern taken last is still "alp"

  SEARCH(L"?", L"\x30c2");  // ヂ, typed as the input method's characters are
  CURSOR_ON(3);
  PressKey(VK_ESCAPE);
  CURSOR_ON(2);

  SEARCH(L"/", L"Alpha");  // an upper-case letter: exactly that case
  CURSOR_ON(2);
  PressKey(VK_ESCAPE);
  SEARCH(L"/", L"alpha");
  PressKey(VK_RETURN, {VK_MENU});
  EXPECT_SELECTED({0, 2, 4});
  PressKey(VK_RETURN);
  EXPECT_PASTED(editor_, "alpha oneAlpha twoalpha three");
  GOODBYE(app_);
}

TEST_F(Find, CtrlFAndF3InTheStandardMode) {
  START(kEntries, {{"key", "normal"}});
  CALL_LIST(app_);
  PressKey('F', {VK_CONTROL});
  ASSERT_TRUE(WaitBarFocus(true)) << "Ctrl+F opens the bar";
  TypeText("alpha");
  CURSOR_ON(2);
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitBarFocus(false));
  PressKey(VK_F3);
  CURSOR_ON(4);
  PressKey(VK_F3);
  CURSOR_ON(0);
  PressKey(VK_F3, {VK_SHIFT});
  CURSOR_ON(4);
  PressKey(VK_RETURN);
  EXPECT_PASTED(editor_, "alpha three");
  GOODBYE(app_);
}

// As a barcode reader or a keyboard macro types, faster than the bar
// searches 100,000 entries: every key reaches the bar, and the Enter
// that closes it takes the match of the whole pattern.
TEST_F(Find, ABurstOfKeysOverALargeHistoryAllArriveAndEnterTakesTheMatch) {
  std::vector<std::string> entries(100000, "an entry without it");
  entries[99990] = "zqzqzq-l is here";
  START(entries);
  CALL_LIST(app_);
  TypeText(L"/zqzqzq-l");
  PressKey(VK_RETURN);
  PressKey(VK_RETURN);
  EXPECT_PASTED(editor_, "zqzqzq-l is here");
  GOODBYE(app_);
}

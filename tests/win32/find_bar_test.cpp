// The find bar and the search again over the program's real list window
// and store: keys that come faster than the searches, and counts.
#include <windows.h>

#include <string>
#include <vector>

#include "common/keys.h"
#include "common/list_loop.h"
#include "listwin/find.h"
#include "win32/list_support.h"

namespace {

class FindBarTest : public ListTest {
 protected:
  HWND Bar() { return FindWindowExW(TheListWindow().hwnd, nullptr, L"Edit", nullptr); }
  std::wstring BarText() {
    wchar_t text[64] = {};
    GetWindowTextW(Bar(), text, 64);
    return text;
  }
  // The bar's text, where the keys go and the cursor row, for failure
  // messages.
  std::string Seen() {
    return "the bar " + std::string(FindBarOpen() ? "open" : "closed") + " with \"" +
           Narrow(BarText()) + "\", " + (GetFocus() == Bar() ? "" : "not ") +
           "the focus, the cursor on row " + std::to_string(GetCursorRow());
  }
  // Takes the messages as the program's loop does, the owed search at
  // its idle point included, until `done` or a deadline. The loop's own
  // wait: the messages are taken as they come, not every 10 ms.
  template <typename Done>
  ::testing::AssertionResult RunLoopUntil(const char* what, Done done) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 10000) {
      if (done()) return ::testing::AssertionSuccess();
      if (!TakeListMessage()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    if (done()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "ran the list's loop " << GetTickCount() - start
                                         << " ms for " << what << "; last saw: " << Seen();
  }
};

}  // namespace

// Every search of a 30,000-row store reaches the point where it asks
// whether a key waits, and in a burst one always does.
TEST_F(FindBarTest, ABurstOfKeysAllReachTheBarAndEnterTakesTheMatchOfThemAll) {
  std::vector<std::string> texts(30000, "a row without it");
  texts[29990] = "zqzqzq-l is here";
  LOAD(texts);
  SetForegroundWindow(TheListWindow().hwnd);
  OpenFindBar(true);
  ASSERT_TRUE(RunLoopUntil("the bar to take the keys", [&] { return GetFocus() == Bar(); }));
  const std::wstring typed = L"zqzqzq-l";
  std::vector<INPUT> keys = TypedKeys(typed);
  AddKey(&keys, VK_RETURN, 0);
  ASSERT_EQ(keys.size(), SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)));
  EXPECT_TRUE(RunLoopUntil("the bar to close", [&] { return !FindBarOpen(); }))
      << "Enter closes the bar";
  EXPECT_EQ(typed, BarText());
  EXPECT_EQ(29990, GetCursorRow());
}

TEST_F(FindBarTest, ACountGoesRoundTheMatchesInOnePass) {
  LOAD({"hit 0", "row", "hit 2", "row", "hit 4", "row"});
  OpenFindBar(true);
  SendMessageW(Bar(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"hit"));
  SendMessageW(Bar(), WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_FALSE(FindBarOpen());
  struct Case {
    bool reverse;
    long long count;
    int row;
  };
  // From row 1: the matches round the circle are 2, 4, 0 (down) and 0,
  // 4, 2 (up).
  const Case cases[] = {{false, 1, 2}, {false, 3, 0}, {false, 4, 2},
                        {false, 99999, 0}, {true, 2, 4}, {true, 99999, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.count) + (c.reverse ? "N" : "n"));
    MoveCursor(-1, 1);
    EXPECT_TRUE(FindAgain(c.reverse, c.count)) << Seen();
    EXPECT_EQ(c.row, GetCursorRow());
  }
}

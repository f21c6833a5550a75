// Where the list appears when it is called at the caret, and the double
// press of Ctrl that calls it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "list_fixture.h"

using namespace e2e;

namespace {

using Place = ListProgramTest;

// The caret of the editor's edit control on the screen, read as the
// program reads it.
RECT CaretOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  RECT r = info.rcCaret;
  MapWindowPoints(info.hwndCaret, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string Text(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

}  // namespace

TEST_F(Place, AtTheCaretTheListComesBelowItOrAboveItNearTheBottom) {
  START({"one", "two"}, {{"place", "caret"}});
  TypeText("abc");
  ASSERT_TRUE(WaitFor(
      "the editor to hold abc", [&] { return editor_.Text(); },
      [](const std::string& seen) { return seen == "abc"; }));
  const RECT caret = CaretOf(editor_.Window());
  const int line = caret.bottom - caret.top;
  ASSERT_GT(line, 0);
  CALL_LIST(app_);
  RECT list;
  GetWindowRect(ListWindow(list_), &list);
  EXPECT_LE(std::abs(list.left - caret.left), line) << Text(list) << " caret " << Text(caret);
  EXPECT_GE(list.top, caret.bottom) << Text(list) << " caret " << Text(caret);
  EXPECT_LE(list.top, caret.bottom + line) << Text(list) << " caret " << Text(caret);
  KEY_UNTIL(VK_ESCAPE, {}, [&] { return WaitListHidden(list_); }, "Escape closes the list");

  // The editor near the bottom of the screen: no room below the caret.
  SetWindowPos(editor_.Window(), nullptr, 700, 900, 400, 110, SWP_NOZORDER);
  ASSERT_TRUE(editor_.Activate());
  const RECT low = CaretOf(editor_.Window());
  CALL_LIST(app_);
  GetWindowRect(ListWindow(list_), &list);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromRect(&list, MONITOR_DEFAULTTONEAREST), &monitor);
  EXPECT_LE(list.bottom, low.top) << Text(list) << " caret " << Text(low);
  EXPECT_TRUE(list.left >= monitor.rcWork.left && list.top >= monitor.rcWork.top &&
              list.right <= monitor.rcWork.right && list.bottom <= monitor.rcWork.bottom)
      << Text(list) << " on " << Text(monitor.rcWork);
  KEY_UNTIL(VK_ESCAPE, {}, [&] { return WaitListHidden(list_); }, "Escape closes the list");
  GOODBYE(app_);
  EXPECT_EQ("100", ReadIniValue(Ini(), "size_lx")) << "the stored place stays";
}

TEST_F(Place, CtrlTwiceShowsTheListAndCtrlCTwiceDoesNot) {
  START({"one"}, {{"dblctrl", "true"}});
  PressKey('C', {VK_CONTROL});
  PressKey('C', {VK_CONTROL});
  ASSERT_TRUE(app_.Settle());
  // Longer than the 400 ms in which a second Ctrl counts.
  EXPECT_FALSE(WaitUntil("the list to show", [&] { return !ListHidden(list_); }, 500))
      << "Ctrl+C twice is no call";
  PressKey(VK_CONTROL);
  PressKey(VK_CONTROL);
  EXPECT_TRUE(WaitListInFront(list_));
  GOODBYE(app_);
}

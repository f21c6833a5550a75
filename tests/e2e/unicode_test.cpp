// Texts copied as Unicode, from outside: kept whole where the code page
// cannot hold them, and as plain code-page records where it can.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "list_fixture.h"

using namespace e2e;

namespace {

constexpr LCID kEnglish = 0x0409;

class Unicode : public ListProgramTest {
 protected:
  void ExpectPastedWide(const char* file, int line, const std::wstring& text) {
    ::testing::ScopedTrace trace(file, line, "ExpectPastedWide");
    EXPECT_TRUE(WaitFor(
        "the editor to hold the paste", [&] { return editor_.WideText(); },
        [&](const std::wstring& seen) { return seen == text; }));
    SetWindowTextW(editor_.Edit(), L"");
    ASSERT_TRUE(WaitListHidden(list_));
    ASSERT_TRUE(app_.Sync());
  }
  // Finds the pattern with the find bar and keeps the match.
  void Find(const char* file, int line, const std::wstring& pattern, int row) {
    ::testing::ScopedTrace trace(file, line, "Find");
    TypeText(L"/");
    ASSERT_TRUE(WaitUntil(
        "the find bar to take the keys",
        [&] {
          HWND bar = FindWindowExW(ListWindow(list_), nullptr, L"Edit", nullptr);
          return bar && FocusOfThread(ListWindow(list_)) == bar;
        },
        Front));
    TypeText(pattern);
    EXPECT_TRUE(WaitCursor(list_, row));
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitListInFront(list_));
  }
};

#define EXPECT_PASTED_WIDE(text) ASSERT_NO_FATAL_FAILURE(ExpectPastedWide(__FILE__, __LINE__, text))
#define FIND(...) ASSERT_NO_FATAL_FAILURE(Find(__FILE__, __LINE__, __VA_ARGS__))

}  // namespace

TEST_F(Unicode, ATextTheCodePageLacksComesBackWholeQuotedAfterARestartAndIsFound) {
  const std::wstring text = L"caf\u00e9 \u2014 na\u00efve \U0001F600 \uD55C\uAD6D\uC5B4 \u2713";
  // Copied by a program whose input locale is English, whose code page
  // would make ??? of it; code page 932 holds it all.
  const std::wstring japanese = L"\u65e5\u672c\u8a9e";
  START({}, {{"actv_hide", "false"}, {"inyo", "\"> \""}, {"lf", "lfinyo"}});
  ASSERT_TRUE(CopyUnicode(text, kEnglish));
  ASSERT_TRUE(WaitRows(list_, 1));
  ASSERT_TRUE(CopyUnicode(japanese, kEnglish));
  ASSERT_TRUE(WaitRows(list_, 2));

  CALL_LIST(app_);
  PressKey(VK_RETURN);
  EXPECT_PASTED_WIDE(text);
  CALL_LIST(app_);
  PressKey(VK_RETURN, {VK_SHIFT});
  EXPECT_PASTED_WIDE(L"> " + text + L"\r\n");
  GOODBYE(app_);
  const std::string saved = ReadFileBytes(Data());
  EXPECT_NE(std::string::npos, saved.find(std::string("\0UTF8", 5) + Narrow(text) +
                                          Record("\x93\xfa\x96\x7b\x8c\xea")))
      << "the Unicode copy beside its rendering, then the Japanese text as its code-page bytes: "
      << Hex(saved);

  list_ = START_READY(app_);
  ASSERT_NE(nullptr, list_);
  ASSERT_TRUE(editor_.Activate());
  CALL_LIST(app_);
  FIND(L"\u65e5\u672c", 1);  // in the code-page entry
  FIND(L"\uD55C\uAD6D", 0);  // in the Unicode copy only
  PressKey(VK_RETURN);
  EXPECT_PASTED_WIDE(text);
  GOODBYE(app_);
}

// A Japanese text kept in the code page is pasted in Unicode too, placed
// first, with the code page's locale: left to the system, both would
// follow the input language of the moment, which need not be Japanese.
TEST_F(Unicode, ACodePageTextIsPutInUnicodeFirstWithTheCodePagesLocale) {
  START({"\x93\xfa\x96\x7b\x8c\xea"},
        {{"actv_hide", "false"}, {"inyo", "\"> \""}, {"lf", "lfinyo"}});
  CALL_LIST(app_);
  PressKey(VK_RETURN, {VK_SHIFT});
  EXPECT_PASTED_WIDE(L"> \u65e5\u672c\u8a9e\r\n");
  LCID locale = 0;
  std::vector<UINT> formats = ClipboardFormats(&locale);
  formats.resize(3);  // then those the system makes
  EXPECT_EQ((std::vector<UINT>{CF_UNICODETEXT, CF_TEXT, CF_LOCALE}), formats);
  EXPECT_EQ(0x0411u, locale);
  EXPECT_EQ(L"> \u65e5\u672c\u8a9e\r\n", ClipboardWideText());
  EXPECT_EQ("> \x93\xfa\x96\x7b\x8c\xea\r\n", ClipboardText());
  GOODBYE(app_);
}

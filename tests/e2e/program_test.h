// The common ground of the end-to-end tests: a folder of their own,
// configured as a first run leaves it, and the steps every test takes
// with the program in it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "driver.h"

namespace e2e {

inline const std::wstring kErrorCaption = Widen("コピウェル - エラー");

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteIni(dir_.Path()); }

  std::wstring Data() const { return dir_.File(L"clip.dat"); }
  std::wstring Work() const { return dir_.File(L"clipwork.dat"); }
  std::wstring Ini() const { return dir_.File(L"kopiwell.ini"); }

  // Starts the program in the folder; returns its history list once the
  // start is over (null, with a failure, when it never gets there).
  HWND StartReady(Kopiwell& app) {
    EXPECT_TRUE(app.Start());
    EXPECT_NE(nullptr, app.WaitReady()) << "no welcome or other box may hold up the start";
    HWND list = FindHistoryList(app.Pid());
    EXPECT_NE(nullptr, list);
    return list;
  }

  // Goodbye: the program must end, with exit code 1.
  void Goodbye(Kopiwell& app) {
    ASSERT_TRUE(app.Goodbye());
    DWORD code = 0;
    ASSERT_TRUE(app.WaitExit(&code)) << "the program did not end after Goodbye";
    EXPECT_EQ(1u, code);
  }

  // Copies the text as another program and waits until the history holds
  // `rows` rows.
  void CopyAndWait(HWND list, const std::string& text, int rows,
                   std::initializer_list<ExtraFormat> extra = {}) {
    ASSERT_TRUE(CopyText(text, extra));
    ASSERT_TRUE(WaitUntil([&] { return RowCount(list) == rows; }))
        << "rows: " << RowCount(list) << ", expected " << rows;
  }

  TempDir dir_;
};

}  // namespace e2e

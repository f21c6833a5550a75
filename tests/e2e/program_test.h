// The common ground of the end-to-end tests: a folder of their own,
// configured as a first run leaves it, and the steps every test takes
// with the program in it.
//
// A step that checks takes the file and line of its call first and
// traces them, so that a failure inside it also names the test line
// that called it. Tests call it through its macro, which passes them; a
// step that returns nothing can fail fatally, and its macro then ends
// the test as a failed ASSERT_ would.
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
  HWND StartReady(const char* file, int line, Kopiwell& app) {
    ::testing::ScopedTrace trace(file, line, "StartReady");
    EXPECT_TRUE(app.Start());
    EXPECT_TRUE(app.WaitReady()) << "no welcome or other box may hold up the start";
    HWND list = FindHistoryList(app.Pid());
    EXPECT_NE(nullptr, list);
    return list;
  }

  // Goodbye: the program must end, with exit code 1.
  void Goodbye(const char* file, int line, Kopiwell& app) {
    ::testing::ScopedTrace trace(file, line, "Goodbye");
    ASSERT_TRUE(app.Goodbye());
    DWORD code = 0;
    ASSERT_TRUE(app.WaitExit(&code)) << "the program did not end after Goodbye";
    EXPECT_EQ(1u, code);
  }

  // Copies the text as another program and waits until the history holds
  // `rows` rows.
  void CopyAndWait(const char* file, int line, HWND list, const std::string& text, int rows,
                   std::initializer_list<ExtraFormat> extra = {}) {
    ::testing::ScopedTrace trace(file, line, "CopyAndWait");
    ASSERT_TRUE(CopyText(text, extra));
    ASSERT_TRUE(WaitRows(list, rows));
  }

  TempDir dir_;
};

}  // namespace e2e

#define START_READY(app) StartReady(__FILE__, __LINE__, app)
#define GOODBYE(app) ASSERT_NO_FATAL_FAILURE(Goodbye(__FILE__, __LINE__, app))
#define COPY_AND_WAIT(...) ASSERT_NO_FATAL_FAILURE(CopyAndWait(__FILE__, __LINE__, __VA_ARGS__))

// The history survives what a user's machine does to a running program:
// being killed, and a data file that was damaged while it was away.
#include <gtest/gtest.h>

#include "program_test.h"

using namespace e2e;

namespace {

class Safety : public ProgramTest {
 protected:
  // A run that captures the texts and is then killed: no shutdown, no save.
  void CaptureAndGetKilled(const char* file, int line, std::initializer_list<std::string> texts) {
    ::testing::ScopedTrace trace(file, line, "CaptureAndGetKilled");
    Kopiwell app(dir_.Path());
    HWND list = START_READY(app);
    ASSERT_NE(nullptr, list);
    int rows = RowCount(list);
    for (const std::string& t : texts) COPY_AND_WAIT(list, t, ++rows);
  }  // the driver ends a program that is still running by force
};

}  // namespace

#define CAPTURE_AND_GET_KILLED(...) \
  ASSERT_NO_FATAL_FAILURE(CaptureAndGetKilled(__FILE__, __LINE__, __VA_ARGS__))

TEST_F(Safety, AKilledRunLosesNothingItCaptured) {
  WriteFileBytes(Data(), DataFile({"older"}));
  CAPTURE_AND_GET_KILLED({"one", "two", "three"});
  EXPECT_EQ(Hex(DataFile({"older"})), Hex(ReadFileBytes(Data()))) << "nothing was saved";

  Kopiwell next(dir_.Path());
  HWND list = START_READY(next);
  EXPECT_EQ(4, RowCount(list));
  GOODBYE(next);
  EXPECT_EQ(Hex(DataFile({"older", "one", "two", "three"})), Hex(ReadFileBytes(Data())));
}

TEST_F(Safety, RecoveredEntriesGoIntoTheBackupOfAStartUpDelete) {
  WriteFileBytes(Data(), DataFile({"older"}));
  CAPTURE_AND_GET_KILLED({"one", "two"});
  WriteIni(dir_.Path(), {{"stdel", "true"}, {"data", "new"}});

  Kopiwell next(dir_.Path());
  HWND list = START_READY(next);
  EXPECT_EQ(0, RowCount(list)) << "the start-up delete still empties the history";
  GOODBYE(next);
  EXPECT_EQ(Hex(DataFile({"two", "one", "older"})), Hex(ReadFileBytes(dir_.File(L"clipdat.bak"))));
}

TEST_F(Safety, ADamagedDataFileLoadsItsWholeRecordsAndSaysSoOnce) {
  std::string damaged = DataFile({"good 1", "good 2"});
  damaged[0] = 7;                        // the count claims seven records
  damaged += std::string("\x40\0\0\0cut", 7);  // and a cut record follows
  WriteFileBytes(Data(), damaged);

  Kopiwell app(dir_.Path());
  ASSERT_TRUE(app.Start());
  HWND box = nullptr;
  ASSERT_TRUE(WaitDialog(app.Pid(), kErrorCaption, &box));
  const std::string text = Narrow(MessageText(box));
  EXPECT_NE(std::string::npos, text.find("clip-damaged-1.dat")) << text;
  PressButton(box, IDOK);
  HWND list = FindHistoryList(app.Pid());
  ASSERT_NE(nullptr, list);
  EXPECT_EQ(2, RowCount(list));
  GOODBYE(app);
  EXPECT_EQ(Hex(DataFile({"good 1", "good 2"})), Hex(ReadFileBytes(Data())));
  EXPECT_EQ(Hex(damaged), Hex(ReadFileBytes(dir_.File(L"clip-damaged-1.dat"))));

  Kopiwell again(dir_.Path());
  START_READY(again);
  EXPECT_EQ(nullptr, FindDialog(again.Pid(), kErrorCaption)) << "told once";
  GOODBYE(again);
}

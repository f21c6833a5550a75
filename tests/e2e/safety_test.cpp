// The history survives what a user's machine does to a running program:
// being killed, and a data file that was damaged while it was away.
#include <gtest/gtest.h>

#include "program_test.h"

using namespace e2e;

namespace {

class Safety : public ProgramTest {
 protected:
  // A run that captures the texts and is then killed: no shutdown, no save.
  void CaptureAndGetKilled(std::initializer_list<std::string> texts) {
    Kopiwell app(dir_.Path());
    HWND list = StartReady(app);
    ASSERT_NE(nullptr, list);
    int rows = RowCount(list);
    for (const std::string& t : texts) CopyAndWait(list, t, ++rows);
  }  // the driver ends a program that is still running by force
};

}  // namespace

TEST_F(Safety, AKilledRunLosesNothingItCaptured) {
  WriteFileBytes(Data(), DataFile({"older"}));
  CaptureAndGetKilled({"one", "two", "three"});
  EXPECT_EQ(Hex(DataFile({"older"})), Hex(ReadFileBytes(Data()))) << "nothing was saved";

  Kopiwell next(dir_.Path());
  HWND list = StartReady(next);
  EXPECT_EQ(4, RowCount(list));
  Goodbye(next);
  EXPECT_EQ(Hex(DataFile({"older", "one", "two", "three"})), Hex(ReadFileBytes(Data())));
}

TEST_F(Safety, RecoveredEntriesGoIntoTheBackupOfAStartUpDelete) {
  WriteFileBytes(Data(), DataFile({"older"}));
  CaptureAndGetKilled({"one", "two"});
  WriteIni(dir_.Path(), {{"stdel", "true"}, {"data", "new"}});

  Kopiwell next(dir_.Path());
  HWND list = StartReady(next);
  EXPECT_EQ(0, RowCount(list)) << "the start-up delete still empties the history";
  Goodbye(next);
  EXPECT_EQ(Hex(DataFile({"two", "one", "older"})), Hex(ReadFileBytes(dir_.File(L"clipdat.bak"))));
}

TEST_F(Safety, ADamagedDataFileLoadsItsWholeRecordsAndSaysSoOnce) {
  std::string damaged = DataFile({"good 1", "good 2"});
  damaged[0] = 7;                        // the count claims seven records
  damaged += std::string("\x40\0\0\0cut", 7);  // and a cut record follows
  WriteFileBytes(Data(), damaged);

  Kopiwell app(dir_.Path());
  ASSERT_TRUE(app.Start());
  HWND box = WaitDialog(app.Pid(), kErrorCaption);
  ASSERT_NE(nullptr, box);
  const std::string text = Narrow(MessageText(box));
  EXPECT_NE(std::string::npos, text.find("clip-damaged-1.dat")) << text;
  PressButton(box, IDOK);
  HWND list = FindHistoryList(app.Pid());
  ASSERT_NE(nullptr, list);
  EXPECT_EQ(2, RowCount(list));
  Goodbye(app);
  EXPECT_EQ(Hex(DataFile({"good 1", "good 2"})), Hex(ReadFileBytes(Data())));
  EXPECT_EQ(Hex(damaged), Hex(ReadFileBytes(dir_.File(L"clip-damaged-1.dat"))));

  Kopiwell again(dir_.Path());
  StartReady(again);
  EXPECT_EQ(nullptr, FindDialog(again.Pid(), kErrorCaption)) << "told once";
  Goodbye(again);
}

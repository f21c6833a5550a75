// The settings as a user meets them: the welcome on the first start, the
// INI file it leaves, and the options that change what a start does.
#include <gtest/gtest.h>

#include "program_test.h"

using namespace e2e;

namespace {

class Settings : public ProgramTest {
 protected:
  void SetUp() override {}  // these tests start from an empty folder
};

const std::wstring kWelcome = Widen("コピウェル");

}  // namespace

TEST_F(Settings, FirstStartWelcomesOnceAndLeavesTheWholeFile) {
  Kopiwell first(dir_.Path());
  ASSERT_TRUE(first.Start());
  HWND welcome = nullptr;
  ASSERT_TRUE(WaitDialog(first.Pid(), kWelcome, &welcome));
  EXPECT_EQ(nullptr, first.MainWindow()) << "the welcome comes before the main window";
  PressButton(welcome, IDCANCEL);  // the close box: the same as OK
  ASSERT_TRUE(first.WaitReady());
  GOODBYE(first);

  const std::vector<std::string> lines = Lines(ReadFileBytes(Ini()));
  ASSERT_EQ(44u, lines.size()) << ReadFileBytes(Ini());
  EXPECT_EQ("[REG]", lines[0]);
  EXPECT_EQ("[OPE]", lines[2]);
  EXPECT_EQ("[STR]", lines[24]);
  EXPECT_EQ("[KAIGYO]", lines[27]);
  EXPECT_EQ("[WIN]", lines[29]);
  EXPECT_EQ("actv_hide=true", lines[30]);

  Kopiwell second(dir_.Path());
  START_READY(second);
  EXPECT_EQ(nullptr, FindDialog(second.Pid(), kWelcome));
  GOODBYE(second);
}

TEST_F(Settings, EndingTheProcessDuringTheWelcomeLeavesOnlyTheMarker) {
  {
    Kopiwell first(dir_.Path());
    ASSERT_TRUE(first.Start());
    ASSERT_TRUE(WaitDialog(first.Pid(), kWelcome));
  }  // ended by force
  EXPECT_EQ((std::vector<std::string>{"[REG]", "reg=ok"}), Lines(ReadFileBytes(Ini())));

  Kopiwell second(dir_.Path());
  START_READY(second);
  GOODBYE(second);
  // Absent keys were taken: an absent actv_hide means "hide", written as false.
  const std::string ini = ReadFileBytes(Ini());
  EXPECT_NE(std::string::npos, ini.find("actv_hide=false")) << ini;
  EXPECT_NE(std::string::npos, ini.find("vk=55")) << ini;
}

TEST_F(Settings, NewestFirstPutsCapturesAtTheTop) {
  WriteIni(dir_.Path(), {{"data", "new"}});
  WriteFileBytes(Data(), DataFile({"oldest"}));
  Kopiwell app(dir_.Path());
  START_READY(app);
  HWND list = FindHistoryList(app.Pid());
  for (int i = 0; i < 2; ++i) {
    COPY_AND_WAIT(list, i == 0 ? "first" : "second", i + 2);
  }
  GOODBYE(app);
  EXPECT_EQ(Hex(DataFile({"second", "first", "oldest"})), Hex(ReadFileBytes(Data())));
}

TEST_F(Settings, DeleteAtStartKeepsABackupAndStartsEmpty) {
  WriteIni(dir_.Path(), {{"stdel", "true"}});
  const std::string history = DataFile({"x", "yz"});
  WriteFileBytes(Data(), history);
  Kopiwell app(dir_.Path());
  START_READY(app);
  EXPECT_EQ(0, RowCount(FindHistoryList(app.Pid())));
  GOODBYE(app);
  EXPECT_EQ(Hex(history), Hex(ReadFileBytes(dir_.File(L"clipdat.bak"))));
  EXPECT_EQ(Hex(DataFile({})), Hex(ReadFileBytes(Data())));
}

TEST_F(Settings, DeleteAtStartWithoutADataFileIsFatalOnce) {
  WriteIni(dir_.Path(), {{"stdel", "true"}});
  Kopiwell app(dir_.Path());
  ASSERT_TRUE(app.Start());
  HWND box = nullptr;
  ASSERT_TRUE(WaitDialog(app.Pid(), kErrorCaption, &box));
  const std::string text = Narrow(MessageText(box));
  EXPECT_EQ(0u, text.find("WndProc:起動時削除の失敗(-1100)\n\n")) << text;
  PressButton(box, IDOK);
  DWORD code = 0;
  ASSERT_TRUE(app.WaitExit(&code));
  EXPECT_EQ(1u, code);
  EXPECT_EQ(Hex(DataFile({})), Hex(ReadFileBytes(Data()))) << "an empty history for the next start";
  EXPECT_FALSE(FileExists(dir_.File(L"clipwork.dat")));

  Kopiwell next(dir_.Path());
  START_READY(next);
  GOODBYE(next);
}

TEST_F(Settings, ASavedPausedStateStartsPaused) {
  WriteIni(dir_.Path(), {{"sussave", "true"}, {"sus", "true"}});
  Kopiwell app(dir_.Path());
  START_READY(app);
  HWND list = FindHistoryList(app.Pid());
  ASSERT_TRUE(CopyText("not while paused"));
  ASSERT_TRUE(app.Settle());
  EXPECT_EQ(0, RowCount(list));
  GOODBYE(app);
  EXPECT_EQ(Hex(DataFile({})), Hex(ReadFileBytes(Data())));
  EXPECT_NE(std::string::npos, ReadFileBytes(Ini()).find("sus=true"));
}

TEST_F(Settings, APausedStateThatIsNotToBeSavedStartsCapturing) {
  WriteIni(dir_.Path(), {{"sussave", "false"}, {"sus", "true"}});
  Kopiwell app(dir_.Path());
  START_READY(app);
  HWND list = FindHistoryList(app.Pid());
  COPY_AND_WAIT(list, "recorded", 1);
  GOODBYE(app);
  EXPECT_NE(std::string::npos, ReadFileBytes(Ini()).find("sus=false"));
}

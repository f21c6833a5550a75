// Start, keep and save: the real program in an empty directory, a second
// start, stores that cannot be opened, and the ways the program ends.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "program_test.h"

using namespace e2e;

namespace {

// The run of one program in one directory.
class Spine : public ProgramTest {};

}  // namespace

TEST_F(Spine, FirstStartMakesAnEmptyHistoryAndGoodbyeSavesIt) {
  DeleteFileW(dir_.File(L"kopiwell.ini").c_str());
  Kopiwell app(dir_.Path());
  ASSERT_TRUE(app.Start());
  HWND welcome = nullptr;
  ASSERT_TRUE(WaitDialog(app.Pid(), Widen("コピウェル"), &welcome));
  PressButton(welcome, IDOK);
  ASSERT_TRUE(app.WaitReady());
  EXPECT_EQ(Hex(DataFile({})), Hex(ReadFileBytes(Data())));
  EXPECT_TRUE(FileExists(Work())) << "the working file exists while the program runs";
  EXPECT_FALSE(IsWindowVisible(app.MainWindow()));

  GOODBYE(app);
  EXPECT_FALSE(FileExists(Work()));
  EXPECT_EQ(Hex(DataFile({})), Hex(ReadFileBytes(Data())));
}

TEST_F(Spine, RecordsLoadAsRowsAndSaveBackByteForByte) {
  const std::string data = DataFile({"abc", "", "\x82\xA0\x82\xA2\r\n\x8A\xBF\x8E\x9A",
                                     std::string(150, 'w'), "last"});
  WriteFileBytes(Data(), data);
  Kopiwell app(dir_.Path());
  ASSERT_TRUE(app.Start());
  ASSERT_TRUE(app.WaitReady());
  HWND list = FindHistoryList(app.Pid());
  ASSERT_NE(nullptr, list);
  EXPECT_EQ(5, RowCount(list));
  // The program holds the working file without sharing: others cannot
  // even read it while it runs.
  EXPECT_TRUE(FileExists(Work())) << "no clipwork.dat; " << app.State();
  EXPECT_EQ("", ReadFileBytes(Work()));

  GOODBYE(app);
  EXPECT_EQ(Hex(data), Hex(ReadFileBytes(Data())));
  EXPECT_FALSE(FileExists(Work()));
}

TEST_F(Spine, CloseMessageEndsTheProgramLikeGoodbye) {
  WriteFileBytes(Data(), DataFile({"kept"}));
  Kopiwell app(dir_.Path());
  ASSERT_TRUE(app.Start());
  ASSERT_TRUE(app.WaitReady());
  ASSERT_TRUE(app.Post(WM_CLOSE));
  DWORD code = 0;
  ASSERT_TRUE(app.WaitExit(&code));
  EXPECT_EQ(1u, code);
  EXPECT_FALSE(FileExists(Work()));
  EXPECT_EQ(Hex(DataFile({"kept"})), Hex(ReadFileBytes(Data())));
}

TEST_F(Spine, SecondStartIsRefusedAndLeavesTheFirstUntouched) {
  WriteFileBytes(Data(), DataFile({"first"}));
  Kopiwell first(dir_.Path());
  ASSERT_TRUE(first.Start());
  ASSERT_TRUE(first.WaitReady());
  HWND main = first.MainWindow();
  const std::string work = ReadFileBytes(Work());

  TempDir elsewhere;  // the refusal must come before anything else
  Kopiwell second(elsewhere.Path());
  ASSERT_TRUE(second.Start());
  HWND box = nullptr;
  ASSERT_TRUE(WaitDialog(second.Pid(), kErrorCaption, &box));
  EXPECT_EQ(Narrow(Widen("コピウェルは起動されています")), Narrow(MessageText(box)));
  PressButton(box, IDOK);
  DWORD code = 0;
  ASSERT_TRUE(second.WaitExit(&code));
  EXPECT_EQ(1u, code);
  EXPECT_FALSE(FileExists(elsewhere.File(L"clip.dat"))) << "the refused start touches no file";
  EXPECT_FALSE(FileExists(elsewhere.File(L"kopiwell.ini")));

  EXPECT_TRUE(first.Running()) << first.State();
  EXPECT_TRUE(IsWindow(main)) << first.State();
  EXPECT_EQ(Hex(work), Hex(ReadFileBytes(Work())));
  EXPECT_EQ(Hex(DataFile({"first"})), Hex(ReadFileBytes(Data())));
  GOODBYE(first);
}

// Starts at the same moment (a sign-in shortcut and a double-click) all
// pass the window guard before any window exists; the folder's lock must
// still leave one program at the history.
TEST_F(Spine, TenStartsAtOnceLeaveOneProgramThatRecordsEveryCopyOnce) {
  std::vector<std::unique_ptr<Kopiwell>> apps;
  for (int i = 0; i < 10; ++i) apps.push_back(std::make_unique<Kopiwell>(dir_.Path()));
  for (auto& app : apps) ASSERT_TRUE(app->Start());
  auto box = [](const Kopiwell& app) { return FindDialog(app.Pid(), kErrorCaption); };
  Kopiwell* winner = nullptr;
  ASSERT_TRUE(WaitFor(
      "the starts not refused to count 1 (one with a main window counts 1, one without 100)",
      [&] {
        int running = 0;
        for (auto& app : apps)
          if (!box(*app)) running += app->MainWindow() ? 1 : 100;
        return running;
      },
      [](int running) { return running == 1; }, 60000))
      << "not one program running and nine refused";
  for (auto& app : apps)
    if (!box(*app)) winner = app.get();
  ASSERT_TRUE(winner->WaitReady());
  HWND list = FindHistoryList(winner->Pid());
  COPY_AND_WAIT(list, "one", 1);
  for (auto& app : apps) {
    if (app.get() == winner) continue;
    EXPECT_EQ(Narrow(Widen("コピウェルは起動されています")), Narrow(MessageText(box(*app))));
    PressButton(box(*app), IDOK);
    DWORD code = 0;
    EXPECT_TRUE(app->WaitExit(&code) && code == 1) << "exit code " << code << ", " << app->State();
  }
  COPY_AND_WAIT(list, "two", 2);
  GOODBYE(*winner);
  EXPECT_EQ(Hex(DataFile({"one", "two"})), Hex(ReadFileBytes(Data())));
}

TEST_F(Spine, StoreThatCannotBeOpenedEndsTheProgramAfterOneFatalBox) {
  // A directory where the working file belongs: it can be neither copied
  // to nor opened.
  ASSERT_TRUE(Succeeded(CreateDirectoryW(Work().c_str(), nullptr)));
  Kopiwell app(dir_.Path());
  ASSERT_TRUE(app.Start());
  HWND box = nullptr;
  ASSERT_TRUE(WaitDialog(app.Pid(), kErrorCaption, &box));
  const std::string text = Narrow(MessageText(box));
  EXPECT_EQ(0u, text.find("WndProc:データファイルを開けません(-1602)\n\n"
                          "上記メッセージをメールにて下記へ連絡お願いいたします。\n   "))
      << text;
  PressButton(box, IDOK);

  // One box only: a second one would keep the program from ending.
  DWORD code = 0;
  ASSERT_TRUE(app.WaitExit(&code));
  EXPECT_EQ(1u, code);
  EXPECT_EQ(Hex(DataFile({})), Hex(ReadFileBytes(Data())))
      << "the data file was made before the open";
}

TEST_F(Spine, EndOfSessionSavesOnceAndNeverEmptiesTheHistoryAfterwards) {
  const std::string data = DataFile({"one", "two"});
  WriteFileBytes(Data(), data);
  Kopiwell app(dir_.Path());
  ASSERT_TRUE(app.Start());
  ASSERT_TRUE(app.WaitReady());
  HWND main = app.MainWindow();

  DWORD_PTR answer = 0;
  ASSERT_TRUE(
      Succeeded(SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &answer)));
  EXPECT_EQ(TRUE, static_cast<BOOL>(answer)) << "the session may end";
  EXPECT_FALSE(FileExists(Work()));
  EXPECT_EQ(Hex(data), Hex(ReadFileBytes(Data())));

  // The session goes on without the program having been told otherwise;
  // ending it later must not save again from the closed working file.
  GOODBYE(app);
  EXPECT_EQ(nullptr, FindDialog(app.Pid(), kErrorCaption));
  EXPECT_EQ(Hex(data), Hex(ReadFileBytes(Data())));
}

TEST_F(Spine, CancelledEndOfSessionTakesTheHistoryUpAgain) {
  const std::string data = DataFile({"one", "two"});
  WriteFileBytes(Data(), data);
  Kopiwell app(dir_.Path());
  ASSERT_TRUE(app.Start());
  ASSERT_TRUE(app.WaitReady());
  HWND main = app.MainWindow();

  DWORD_PTR answer = 0;
  ASSERT_TRUE(
      Succeeded(SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &answer)));
  ASSERT_FALSE(FileExists(Work()));
  ASSERT_TRUE(
      Succeeded(SendMessageTimeoutW(main, WM_ENDSESSION, FALSE, 0, SMTO_NORMAL, 10000, &answer)));
  EXPECT_TRUE(FileExists(Work())) << "the store is open again";
  HWND list = FindHistoryList(app.Pid());
  ASSERT_NE(nullptr, list);
  EXPECT_EQ(2, RowCount(list)) << "each entry once, not twice";

  GOODBYE(app);
  EXPECT_EQ(Hex(data), Hex(ReadFileBytes(Data())));
}

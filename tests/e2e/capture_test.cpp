// Clipboard capture as another program sees it: this test process copies
// texts, and the program's history and data file must hold them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_test.h"

using namespace e2e;

namespace {

class Capture : public ProgramTest {
 protected:
  void Start(const char* file, int line) { list_ = StartReady(file, line, app_); }
  void CopyAndWait(const char* file, int line, const std::string& text, int rows,
                   std::initializer_list<ExtraFormat> extra = {}) {
    ProgramTest::CopyAndWait(file, line, list_, text, rows, extra);
  }

  Kopiwell app_{dir_.Path()};
  HWND list_ = nullptr;
};

}  // namespace

#define START() ASSERT_NO_FATAL_FAILURE(Start(__FILE__, __LINE__))

TEST_F(Capture, CopiesBecomeEntriesInCaptureOrder) {
  START();
  COPY_AND_WAIT("abc", 1);
  COPY_AND_WAIT("def", 2);
  COPY_AND_WAIT("", 3);
  COPY_AND_WAIT("abc", 4);  // no check for duplicates
  GOODBYE(app_);
  EXPECT_EQ(Hex(DataFile({"abc", "def", "", "abc"})), Hex(ReadFileBytes(Data())));
}

TEST_F(Capture, TextsAreRecordedByteForByteUpToTheirFirstZero) {
  START();
  const std::string sjis = "\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD\r\n\x95\x5C";  // こんにちは 表
  const std::string longText = std::string(120, 'x') + std::string(30, 'y');
  COPY_AND_WAIT(sjis, 1);
  COPY_AND_WAIT(longText, 2);
  COPY_AND_WAIT(std::string("before\0after", 12), 3);
  COPY_AND_WAIT("line1\r\nline2\r\n", 4);
  GOODBYE(app_);
  EXPECT_EQ(Hex(DataFile({sjis, longText, "before", "line1\r\nline2\r\n"})),
            Hex(ReadFileBytes(Data())));
}

TEST_F(Capture, TheTextOnTheClipboardAtStartIsNotRecorded) {
  ASSERT_TRUE(CopyText("already there"));
  START();
  COPY_AND_WAIT("new", 1);
  GOODBYE(app_);
  EXPECT_EQ(Hex(DataFile({"new"})), Hex(ReadFileBytes(Data())));
}

// Only what was on the clipboard when the program began to listen is
// old; a copy made while a large history is still loading is new.
TEST_F(Capture, ACopyMadeWhileALargeHistoryLoadsIsCaptured) {
  // Large enough that the load outlasts a copy even on a machine busy
  // with other tests.
  constexpr int kOlder = 3000000;
  WriteFileBytes(Data(), DataFile(std::vector<std::string>(kOlder, "an older entry")));
  // What a save cut off half way leaves: the program removes it as soon
  // as it listens, before anything else.
  const std::wstring halfSaved = dir_.File(L"clip.dat.tmp");
  WriteFileBytes(halfSaved, "half a save");
  ASSERT_TRUE(app_.Start());
  // Watched closely: the start goes on at once.
  const ULONGLONG deadline = GetTickCount64() + kDeadlineMs;
  while (FileExists(halfSaved) && GetTickCount64() < deadline) Sleep(1);
  ASSERT_FALSE(FileExists(halfSaved)) << "the program listens first thing";
  ASSERT_TRUE(CopyText("copied while loading"));
  EXPECT_TRUE(app_.Starting()) << "the copy must fall into the load";
  ASSERT_TRUE(app_.WaitReady(60000));
  list_ = FindHistoryList(app_.Pid());
  ASSERT_TRUE(WaitRows(list_, kOlder + 1));
  GOODBYE(app_);
  const std::string bytes = ReadFileBytes(Data());
  EXPECT_EQ(Hex(Record("copied while loading")),
            Hex(bytes.substr(bytes.size() - Record("copied while loading").size())));
}

// When the end of the session is called off, the program takes its
// history up again; the text on the clipboard then is not new.
TEST_F(Capture, ACancelledSessionEndAddsNoEntry) {
  START();
  COPY_AND_WAIT("before", 1);
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(app_.MainWindow(), WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, kDeadlineMs,
                      &answer);
  SendMessageTimeoutW(app_.MainWindow(), WM_ENDSESSION, FALSE, 0, SMTO_NORMAL, kDeadlineMs,
                      &answer);
  ASSERT_TRUE(app_.Sync());
  EXPECT_EQ(1, RowCount(list_));
  COPY_AND_WAIT("after", 2);
  GOODBYE(app_);
  EXPECT_EQ(Hex(DataFile({"before", "after"})), Hex(ReadFileBytes(Data())));
}

TEST_F(Capture, ContentMarkedPrivateIsNotRecorded) {
  START();
  const std::string no("\0\0\0\0", 4), yes("\x01\0\0\0", 4);
  // Each copy is handled before the next one, so that none is lost to
  // the next copy holding the clipboard.
  ASSERT_TRUE(CopyText("secret1", {{L"ExcludeClipboardContentFromMonitorProcessing", ""}}));
  ASSERT_TRUE(app_.Settle());
  ASSERT_TRUE(CopyText("secret2", {{L"Clipboard Viewer Ignore", ""}}));
  ASSERT_TRUE(app_.Settle());
  ASSERT_TRUE(CopyText("secret3", {{L"CanIncludeInClipboardHistory", no}}));
  ASSERT_TRUE(app_.Settle());
  EXPECT_EQ(0, RowCount(list_));
  COPY_AND_WAIT("allowed", 1, {{L"CanIncludeInClipboardHistory", yes}});
  COPY_AND_WAIT("plain", 2);
  GOODBYE(app_);
  EXPECT_EQ(Hex(DataFile({"allowed", "plain"})), Hex(ReadFileBytes(Data())));
}

TEST_F(Capture, CapturesSurviveARestart) {
  START();
  COPY_AND_WAIT("kept", 1);
  COPY_AND_WAIT("also kept", 2);
  GOODBYE(app_);

  Kopiwell again(dir_.Path());
  EXPECT_EQ(2, RowCount(START_READY(again)));
  GOODBYE(again);
  EXPECT_EQ(Hex(DataFile({"kept", "also kept"})), Hex(ReadFileBytes(Data())));
}

// Viewers that joined before and after the program all keep receiving
// every notification, and the chain stays whole when viewers leave.
TEST_F(Capture, TheViewerChainStaysWhole) {
  ClipboardViewer first;   // the chain: program -> second -> first
  ClipboardViewer second;
  START();
  ClipboardViewer last;    // joins after the program: last -> program -> ...
  const int before[] = {first.Notifications(), second.Notifications(), last.Notifications()};
  // Waits until the first viewer has had more than `count` notifications.
  auto firstHearsMore = [&](int count) {
    return WaitFor(
        "the first viewer to have more than " + std::to_string(count) + " notifications",
        [&] { return first.Notifications(); }, [&](int seen) { return seen > count; });
  };

  COPY_AND_WAIT("one", 1);
  EXPECT_TRUE(firstHearsMore(before[0]));
  EXPECT_GT(second.Notifications(), before[1]);
  EXPECT_GT(last.Notifications(), before[2]);

  // The program's own next viewer leaves: the program must take over the
  // viewer that followed it, or `first` would be cut off.
  second.Leave();
  int firstBefore = first.Notifications();
  COPY_AND_WAIT("two", 2);
  EXPECT_TRUE(firstHearsMore(firstBefore)) << "the viewer after the one that left gets nothing";

  // A viewer ahead of the program leaves: the program keeps its place.
  last.Leave();
  firstBefore = first.Notifications();
  COPY_AND_WAIT("three", 3);
  EXPECT_TRUE(firstHearsMore(firstBefore));

  GOODBYE(app_);
  EXPECT_EQ(Hex(DataFile({"one", "two", "three"})), Hex(ReadFileBytes(Data())));

  // The program has left the chain cleanly: the others still hear.
  firstBefore = first.Notifications();
  ASSERT_TRUE(CopyText("after"));
  EXPECT_TRUE(firstHearsMore(firstBefore));
}

// Viewers that break the chain and a reader that keeps the clipboard busy
// at every change make the program miss nothing, and it goes on answering.
TEST_F(Capture, NoOtherClipboardProgramMakesItMissACopy) {
  ClipboardViewer hangs(ClipboardViewer::kHangs);  // joined before the program
  START();
  ClipboardViewer cuts(ClipboardViewer::kPassesNothing);  // joined after it
  ClipboardViewer reader(ClipboardViewer::kHoldsOpen);
  std::vector<std::string> texts;
  for (int i = 0; i < 10; ++i) {
    texts.push_back("copy " + std::to_string(i));
    COPY_AND_WAIT(texts.back(), i + 1);
  }
  EXPECT_GT(reader.Notifications(), 0);
  ASSERT_TRUE(app_.Settle()) << "the program answers";
  GOODBYE(app_);
  EXPECT_EQ(Hex(DataFile(texts)), Hex(ReadFileBytes(Data())));
}

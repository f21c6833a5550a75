// Where captured texts go in the store: the row first, then the record
// exactly at the offset the row was given.
#include <windows.h>
#include <commctrl.h>

#include <climits>
#include <string>

#include "app/capture.h"
#include "app/mainwnd.h"
#include "base/report.h"
#include "listwin/commands.h"
#include "listwin/entries.h"
#include "listwin/listwin.h"
#include "listwin/selection.h"
#include "settings/settings.h"
#include "store/history.h"
#include "store/row_index.h"
#include "store/store.h"
#include "common/clipboard.h"
#include "common/last_error.h"
#include "win32/large_allocations.h"
#include "win32/store_support.h"

namespace {

class CaptureStoreTest : public StoreTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(StoreTest::SetUp());
    savedData_ = g_set.data;
  }
  void TearDown() override {
    g_set.data = savedData_;
    StoreTest::TearDown();
  }

  // Opens the store as the program's own.
  void OpenHistory(const char* file, int line, const std::string& data) {
    ::testing::ScopedTrace trace(file, line, "OpenHistory");
    WriteFileBytes("clip.dat", data);
    ASSERT_NE(nullptr, Open());
  }

  std::int64_t WorkSize() {
    LARGE_INTEGER size;
    GetFileSizeEx(store_.Work(), &size);
    return size.QuadPart;
  }

 private:
  int savedData_ = kDataOld;
};

}  // namespace

#define OPEN_HISTORY(data) ASSERT_NO_FATAL_FAILURE(OpenHistory(__FILE__, __LINE__, data))

TEST_F(CaptureStoreTest, NewestFirstPutsCapturesAtTheTop) {
  g_set.data = kDataNew;
  OPEN_HISTORY(DataFile({"old"}));
  AddClip("abc");
  AddClip("defg");
  ASSERT_EQ(3, RowCount(list_));
  EXPECT_EQ("defg", RowLabel(list_, 0));
  EXPECT_EQ("abc", RowLabel(list_, 1));
  EXPECT_EQ("old", RowLabel(list_, 2));
  EXPECT_EQ(11 + 7, RowOffset(list_, 0));  // after the 11-byte file and abc
  EXPECT_EQ(11, RowOffset(list_, 1));
  EXPECT_EQ(Hex(DataFile({"old"}) + Record("abc") + Record("defg")), Hex(WorkBytes(store_)));

  ASSERT_EQ(0, tdb_close(store_));
  EXPECT_EQ(Hex(DataFile({"defg", "abc", "old"})), Hex(ReadFileBytes("clip.dat")));
}

TEST_F(CaptureStoreTest, OldestFirstPutsCapturesAtTheBottom) {
  g_set.data = kDataOld;
  OPEN_HISTORY(DataFile({"old"}));
  AddClip("abc");
  AddClip("");
  ASSERT_EQ(3, RowCount(list_));
  EXPECT_EQ("old", RowLabel(list_, 0));
  EXPECT_EQ("abc", RowLabel(list_, 1));
  EXPECT_EQ("", RowLabel(list_, 2));
  EXPECT_EQ(Hex(DataFile({"old"}) + Record("abc") + Record("")), Hex(WorkBytes(store_)));
}

TEST_F(CaptureStoreTest, NothingIsRecordedWithoutAnOpenStore) {
  AddClip("lost");  // as during creation, before the store is open
  EXPECT_EQ(0, RowCount(list_));
  OPEN_HISTORY(DataFile({}));
  EXPECT_EQ("", WorkBytes(store_).substr(4));
}

// Record offsets are 32-bit: a record that would take the working file
// past 2,147,483,647 bytes is refused whole, never written with an offset
// that wraps into other records.
TEST_F(CaptureStoreTest, AppendsStopAtTheTwoGigabyteLimit) {
  OPEN_HISTORY(DataFile({"first"}));
  LARGE_INTEGER end;
  end.QuadPart = INT32_MAX - 10;  // sparse: no disk space is used
  ASSERT_TRUE(Succeeded(SetFilePointerEx(store_.Work(), end, nullptr, FILE_BEGIN)));
  ASSERT_TRUE(Succeeded(SetEndOfFile(store_.Work())));

  store_.ClearError();
  MSG told;
  while (PeekMessageW(&told, nullptr, kWorkingFileFull, kWorkingFileFull, PM_REMOVE)) {
  }
  EXPECT_FALSE(AddClip("1234567"));  // 4 + 7 bytes: one too many
  EXPECT_EQ(kErrWorkingFileFull, store_.Error());
  EXPECT_EQ(1, RowCount(list_));
  EXPECT_EQ(INT32_MAX - 10, WorkSize());
  AddClip("12345678");
  int messages = 0;
  while (PeekMessageW(&told, nullptr, kWorkingFileFull, kWorkingFileFull, PM_REMOVE)) ++messages;
  EXPECT_EQ(1, messages) << "the user is told once, not at every copy";

  AddClip("123456");  // fills the file to the last addressable byte
  ASSERT_EQ(2, RowCount(list_));
  EXPECT_EQ(INT32_MAX - 10, RowOffset(list_, 1));
  EXPECT_EQ(INT32_MAX, WorkSize());

  store_.ClearError();
  EXPECT_EQ(-1, tdb_modify(store_, "x", 0));
  EXPECT_EQ(kErrWorkingFileFull, store_.Error());
  EXPECT_EQ("first", RowLabel(list_, 0));
  EXPECT_EQ(4, RowOffset(list_, 0));
  EXPECT_EQ(-1, tdb_append(store_, ""));
  EXPECT_EQ(INT32_MAX, WorkSize());
}

// The data file, too, must load again: whatever would grow the saved
// history past 2 GB (rows sharing records count each) is refused alike.
TEST_F(CaptureStoreTest, NothingGrowsTheSavedHistoryPastTwoGigabytes) {
  OPEN_HISTORY(DataFile({"first"}));
  store_.Index().AddBytes(INT32_MAX - 3 - tdb_savedsize(store_));  // no room for an empty entry
  MoveCursor(-1, 0);
  SetMark('a', 0);
  for (const char* keys : {"o", "O"}) {
    EXPECT_EQ(1, DoKeySeq("1.9", keys)) << keys << ": the message only";
    EXPECT_EQ(1, RowCount(list_));
    EXPECT_EQ(0, GetMark('a')) << keys;
  }
  EXPECT_FALSE(AddClip(""));
  EXPECT_EQ(-1, tdb_modify(store_, "123456789", 0));  // 4 bytes more than "first"
  EXPECT_EQ(kErrWorkingFileFull, store_.Error());
  EXPECT_EQ("first", RowLabel(list_, 0));
  EXPECT_EQ(0, tdb_modify(store_, "12345678", 0));
  EXPECT_EQ(INT32_MAX, tdb_savedsize(store_));
}

// A capture that fails for a reason of no told kind (here: no history
// open) is told, and once, not at every copy.
TEST_F(CaptureStoreTest, AFailureOfAnotherKindIsToldOnce) {
  EXPECT_FALSE(AddClip("a"));
  EXPECT_FALSE(AddClip("b"));
  MSG told;
  int messages = 0;
  WPARAM code = 0;
  while (PeekMessageW(&told, nullptr, kCaptureFailed, kCaptureFailed, PM_REMOVE)) {
    ++messages;
    code = told.wParam;
  }
  EXPECT_EQ(1, messages);
  EXPECT_NE(0, static_cast<int>(code)) << "with the store's error code";
}

namespace {

// A Unicode text the code page lacks every character of, of 1 MB units.
constexpr size_t kUnits = 1 << 20;
const std::wstring& WideText() {
  static const std::wstring text(kUnits, L'\u00e9');
  return text;
}

int g_noMemoryTold = 0;

}  // namespace

// The copies a Unicode capture holds at once: its rendering, its
// conversion back, the record grown out of the rendering; never the
// UTF-16 text grown again, its UTF-8 form and the record beside them.
TEST_F(CaptureStoreTest, AUnicodeCaptureHoldsAtMostThreeCopiesOfItsText) {
  OPEN_HISTORY(DataFile({}));
  ASSERT_TRUE(CopyUnicode(WideText(), 0x0411));
  HWND window = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  size_t peak = 0;
  {
    LargeAllocationPeak measure;
    OnClipboardUpdate(window);
    peak = measure.Peak();
  }
  DestroyWindow(window);
  ASSERT_EQ(1, RowCount(list_));
  EXPECT_EQ(static_cast<std::int64_t>(4 + 4 + kUnits + 5 + 2 * kUnits), WorkSize())
      << "the rendering, the tag and the UTF-8 after the empty history";
  EXPECT_LE(peak, 3 * kUnits * sizeof(wchar_t));
}

// A capture retried from the main message loop, outside any window
// procedure, that runs out of memory is given up and told once.
TEST_F(CaptureStoreTest, ARetriedCaptureThatRunsOutOfMemoryIsGivenUp) {
  OPEN_HISTORY(DataFile({}));
  ASSERT_TRUE(CopyUnicode(WideText(), 0x0411));
  HWND window = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  Reporter counting;
  counting.noMemory = [] { ++g_noMemoryTold; };
  SetReporter(counting);
  g_noMemoryTold = 0;
  {
    ClipboardHolder holder;
    OnClipboardUpdate(window);
    EXPECT_TRUE(CaptureWaiting()) << "the clipboard was busy";
  }
  {
    LargeAllocationsFail fail(kUnits);
    EXPECT_NO_THROW(OnCaptureRetry(window));
  }
  EXPECT_FALSE(CaptureWaiting()) << "not tried again";
  EXPECT_EQ(1, g_noMemoryTold);
  EXPECT_EQ(0, RowCount(list_));
  InstallReporter();
  StopCapture(window);
  DestroyWindow(window);
}

// What the store keeps when things go wrong: a save or an append whose
// writes fail, a damaged data file, and the working file a crashed run
// left behind.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/capture.h"
#include "app/errorbox.h"
#include "app/mainwnd.h"
#include "base/program.h"
#include "common/last_error.h"
#include "listwin/entries.h"
#include "listwin/listwin.h"
#include "settings/settings.h"
#include "store/file_io.h"
#include "store/history.h"
#include "store/store.h"
#include "win32/dialog_answerer.h"
#include "win32/large_allocations.h"
#include "win32/store_support.h"

namespace {

const std::string kData = "clip.dat";
const std::string kWork = "clipwork.dat";

// Turns the write fault off however the test ends.
struct WriteFault {
  explicit WriteFault(long nth) { store_io::FailWriteForTesting(nth); }
  ~WriteFault() { store_io::FailWriteForTesting(0); }
};

struct ReadFault {
  explicit ReadFault(long nth) { store_io::FailReadForTesting(nth); }
  ~ReadFault() { store_io::FailReadForTesting(0); }
};

std::vector<std::string> ManyTexts(int n, size_t length) {
  std::vector<std::string> texts;
  for (int i = 0; i < n; ++i) texts.push_back(std::to_string(i) + std::string(length, 'x'));
  return texts;
}

}  // namespace

// Over 1 MB of history, so that the save takes several large writes and
// can fail after some of them reached the disk.
TEST_F(StoreTest, ASaveWhoseWritesFailLeavesTheDataFileAsItWas) {
  const std::string before = DataFile(ManyTexts(3000, 500));
  WriteFileBytes(kData, before);
  ASSERT_NE(nullptr, Open());
  ASSERT_EQ(0, tdb_addrow(store_, "new", 0, kRowNew));
  ASSERT_EQ(0, tdb_append(store_, "new"));

  for (long nth : {1L, 2L}) {
    WriteFault fault(nth);
    store_.ClearError();
    EXPECT_EQ(-1, tdb_close(store_)) << "write " << nth << " failed";
    EXPECT_EQ(kErrCloseWrite, store_.Error());
    EXPECT_TRUE(ReadFileBytes(kData) == before) << "clip.dat must be byte-identical";
    EXPECT_FALSE(FileExists("clip.dat.tmp")) << "no temporary file left behind";
    EXPECT_TRUE(FileExists(kWork)) << "the folder holds " << FileNamesIn(L".");
  }
  // The working file is still open and whole: the next save succeeds.
  ASSERT_EQ(0, tdb_close(store_));
  std::vector<std::string> after = ManyTexts(3000, 500);
  after.push_back("new");
  EXPECT_TRUE(ReadFileBytes(kData) == DataFile(after))
      << FirstDifference(DataFile(after), ReadFileBytes(kData));
  EXPECT_FALSE(FileExists(kWork));
}

// A working file that cannot be read (a disk error) is never saved from.
TEST_F(StoreTest, ASaveWhoseReadsFailLeavesBothFilesAsTheyWere) {
  WriteFileBytes(kData, DataFile({"a", "b"}));
  ASSERT_NE(nullptr, Open());
  HANDLE writeOnly = nullptr;
  HANDLE own = store_.Work();
  const std::int64_t bytes = store_.Index().Bytes();
  ASSERT_TRUE(Succeeded(DuplicateHandle(GetCurrentProcess(), own, GetCurrentProcess(), &writeOnly,
                                        GENERIC_WRITE, FALSE, 0)));
  store_.SetWork(writeOnly, bytes);
  EXPECT_EQ(-1, tdb_close(store_));
  EXPECT_EQ(kErrCloseRead, store_.Error());
  store_.SetWork(own, bytes);
  CloseHandle(writeOnly);
  EXPECT_EQ(Hex(DataFile({"a", "b"})), Hex(ReadFileBytes(kData)));
  EXPECT_EQ(2, RowCount(list_));
  EXPECT_EQ(0, tdb_close(store_)) << "the store is still whole";
}

TEST_F(StoreTest, AFailedAppendLeavesNoPartialRecordAndNoRow) {
  WriteFileBytes(kData, DataFile({"a"}));
  ASSERT_NE(nullptr, Open());
  const std::string work = WorkBytes(store_);
  {
    WriteFault fault(1);
    store_.ClearError();
    EXPECT_EQ(-1, tdb_append(store_, "lost"));
    EXPECT_EQ(kErrAppendWrite, store_.Error());
  }
  {
    WriteFault fault(2);  // a long text: its length is written, its bytes are not
    EXPECT_EQ(-1, tdb_append(store_, std::string(10000, 'L').c_str()));
  }
  EXPECT_EQ(Hex(work), Hex(WorkBytes(store_)));

  const int savedData = g_set.data;
  for (int data : {kDataOld, kDataNew}) {
    g_set.data = data;
    WriteFault fault(1);
    AddClip("also lost");
    EXPECT_EQ(1, RowCount(list_)) << "the capture's row is taken back";
    EXPECT_EQ("a", RowLabel(list_, 0));
  }
  g_set.data = savedData;
  AddClip("kept");  // the next capture works again
  EXPECT_EQ(2, RowCount(list_));
  EXPECT_EQ(Hex(work + Record("kept")), Hex(WorkBytes(store_)));
}

TEST_F(StoreTest, ADamagedDataFileIsKeptAsACopyThatIsNeverOverwritten) {
  const std::string damaged = Int32Bytes(9) + Record("whole") + Int32Bytes(50) + "cut";
  WriteFileBytes(kData, damaged);
  ASSERT_NE(nullptr, Open());
  EXPECT_TRUE(store_.Damage().damaged);
  EXPECT_EQ("clip-damaged-1.dat", store_.Damage().copy);
  EXPECT_EQ(Hex(damaged), Hex(ReadFileBytes("clip-damaged-1.dat")));
  ASSERT_EQ(1, RowCount(list_));
  ASSERT_EQ(0, tdb_close(store_));
  EXPECT_EQ(Hex(DataFile({"whole"})), Hex(ReadFileBytes(kData))) << "saved with its whole records";

  SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
  ASSERT_NE(nullptr, Open());
  EXPECT_FALSE(store_.Damage().damaged) << "the saved file is sound";
  store_.Abandon();

  SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
  WriteFileBytes(kData, Int32Bytes(-1) + Record("x"));
  ASSERT_NE(nullptr, Open());
  EXPECT_EQ("clip-damaged-2.dat", store_.Damage().copy);
  EXPECT_TRUE(ReadFileBytes("clip-damaged-1.dat") == damaged) << "the first copy stays";
}

class RecoveryTest : public StoreTest {
 protected:
  // A run that started from `data`, captured `texts` and then died.
  void Crashed(const std::string& data, const std::vector<std::string>& texts,
               const std::string& tail = "") {
    WriteFileBytes(kData, data);
    std::string work = data;
    for (const std::string& t : texts) work += Record(t);
    WriteFileBytes(kWork, work + tail);
  }
};

TEST_F(RecoveryTest, CapturesOfACrashedRunBecomeEntries) {
  Crashed(DataFile({"a", "b"}), {"c", "", "d"}, Int32Bytes(20) + "cut by the crash");
  EXPECT_EQ(3, tdb_recover(store_, false));
  EXPECT_EQ(Hex(DataFile({"a", "b", "c", "", "d"})), Hex(ReadFileBytes(kData)));
  EXPECT_FALSE(FileExists(kWork));

  Crashed(DataFile({"a", "b"}), {"c", "d"});
  EXPECT_EQ(2, tdb_recover(store_, true));
  EXPECT_EQ(Hex(DataFile({"d", "c", "a", "b"})), Hex(ReadFileBytes(kData)))
      << "newest first: the last capture on top";
}

TEST_F(RecoveryTest, ALeftoverThatDoesNotContinueTheDataFileIsKeptAside) {
  Crashed(DataFile({"a"}), {"c"});
  const std::string leftover = ReadFileBytes(kWork);
  WriteFileBytes(kData, DataFile({"saved later"}));
  EXPECT_EQ(0, tdb_recover(store_, false));
  EXPECT_EQ(Hex(DataFile({"saved later"})), Hex(ReadFileBytes(kData)));
  EXPECT_FALSE(FileExists(kWork));
  EXPECT_EQ(Hex(leftover), Hex(ReadFileBytes("clipwork-kept-1.dat")));
  EXPECT_EQ("clipwork-kept-1.dat", store_.Kept().name) << "for the start to tell";
  EXPECT_EQ(2, store_.Kept().texts);

  Crashed(DataFile({"a"}), {"c"});
  DeleteFileA(kData.c_str());  // no data file to continue
  EXPECT_EQ(0, tdb_recover(store_, false));
  EXPECT_TRUE(FileExists("clipwork-kept-2.dat")) << "the folder holds " << FileNamesIn(L".");
  EXPECT_TRUE(FileExists("clipwork-kept-1.dat")) << "the folder holds " << FileNamesIn(L".");
}

TEST_F(RecoveryTest, NothingToRecoverChangesNothing) {
  WriteFileBytes(kData, DataFile({"a"}));
  EXPECT_EQ(0, tdb_recover(store_, false));
  EXPECT_EQ(Hex(DataFile({"a"})), Hex(ReadFileBytes(kData)));

  Crashed(DataFile({"a"}), {});  // a crash before any capture
  WriteFileBytes("clip.dat.tmp", "half a save");
  EXPECT_EQ(0, tdb_recover(store_, false));
  EXPECT_EQ(Hex(DataFile({"a"})), Hex(ReadFileBytes(kData)));
  EXPECT_FALSE(FileExists(kWork));
  EXPECT_FALSE(FileExists("clip.dat.tmp"));
}

// Files of several blocks each, so that reads fail while the files are
// checked, while the leftover's texts are found, and while they are
// copied. Whichever read fails, nothing is committed and the leftover is
// kept aside whole; once no read fails, the recovery is the whole one.
TEST_F(RecoveryTest, AReadThatFailsCommitsNothing) {
  const std::vector<std::string> history = ManyTexts(3000, 500), captured = ManyTexts(3000, 400);
  std::vector<std::string> whole = history;
  whole.insert(whole.end(), captured.begin(), captured.end());
  bool reachedTheEnd = false;
  for (long nth = 1; nth < 100 && !reachedTheEnd; ++nth) {
    SCOPED_TRACE("read " + std::to_string(nth) + " failed");
    Crashed(DataFile(history), captured);
    const std::string data = ReadFileBytes(kData), leftover = ReadFileBytes(kWork);
    int recovered;
    {
      ReadFault fault(nth);
      recovered = tdb_recover(store_, false);
    }
    const KeptLeftover kept = store_.TakeKeptLeftover();
    if (!kept.unreadable) {
      ASSERT_GT(nth, 2) << "the reads were not reached";
      EXPECT_EQ(3000, recovered);
      EXPECT_TRUE(ReadFileBytes(kData) == DataFile(whole))
          << FirstDifference(DataFile(whole), ReadFileBytes(kData));
      reachedTheEnd = true;
      continue;
    }
    EXPECT_EQ(0, recovered);
    EXPECT_TRUE(ReadFileBytes(kData) == data) << "clip.dat must stay as it was";
    EXPECT_FALSE(FileExists("clip.dat.tmp"));
    EXPECT_FALSE(FileExists(kWork));
    ASSERT_FALSE(kept.name.empty());
    EXPECT_TRUE(ReadFileBytes(kept.name) == leftover) << kept.name;
    DeleteFileA(kept.name.c_str());
  }
  EXPECT_TRUE(reachedTheEnd) << "the leftover was kept aside as unreadable in all 99 runs";
}

TEST_F(RecoveryTest, ALeftoverThatCouldNotBeReadIsToldAtTheStart) {
  Crashed(DataFile({"a"}), {"c"});
  {
    ReadFault fault(1);
    EXPECT_EQ(0, tdb_recover(store_, false));
  }
  store_.TakeLoadDamage();  // nothing else to tell
  DialogAnswerer answer("コピウェル - エラー", IDOK);
  ReportStartNotices();
  ASSERT_TRUE(answer.Answered());
  const std::string text = answer.Text();
  EXPECT_NE(std::string::npos, text.find("読み取れなかったため、取り込まずに clipwork-kept-1.dat"))
      << text;
}

// Recovering a leftover that does not fit in memory (the 32-bit build)
// during the main window's creation: the creation fails with the plain
// message, and neither file is touched, for a start that has the memory.
TEST_F(RecoveryTest, AStartThatRunsOutOfMemoryFailsAndKeepsBothFiles) {
  Crashed(DataFile({"a", "b"}), {"c"});
  const std::string data = ReadFileBytes(kData), leftover = ReadFileBytes(kWork);
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterMainClass(instance);
  DialogAnswerer answer("コピウェル - エラー", IDOK);
  HWND main = nullptr;
  {
    LargeAllocationsFail fail(512 * 1024);
    main = CreateWindowExW(0, kMainClassName, kMainClassName, WS_OVERLAPPEDWINDOW, 0, 0, 0, 0,
                           nullptr, nullptr, instance, nullptr);
  }
  if (main) {
    answer.Cancel();
    DestroyWindow(main);
  }
  SetMainWindow(nullptr);
  SetFatalErrorExit(nullptr);
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // the shutdown's
  ASSERT_EQ(nullptr, main) << "creation must fail";
  ASSERT_TRUE(answer.Answered());
  const std::string text = answer.Text();
  EXPECT_NE(std::string::npos, text.find("メモリーに読み込めないため、コピウェルを終了します")) << text;
  EXPECT_TRUE(ReadFileBytes(kData) == data) << "clip.dat must stay as it was";
  EXPECT_TRUE(ReadFileBytes(kWork) == leftover) << "the leftover stays to be recovered";
}

// Creating, opening, saving, clearing and restoring the store with real
// files in a private directory.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/history_actions.h"
#include "common/last_error.h"
#include "listwin/entries.h"
#include "listwin/listwin.h"
#include "listwin/put_buffer.h"
#include "store/history.h"
#include "store/store.h"
#include "win32/store_support.h"

namespace {

const std::string kData = "clip.dat";
const std::string kWork = "clipwork.dat";
const std::string kBackup = "clipdat.bak";

}  // namespace

TEST_F(StoreTest, CreateMakesAnEmptyHistoryOnceOnly) {
  ASSERT_EQ(0, tdb_create(store_));
  EXPECT_EQ(Hex(DataFile({})), Hex(ReadFileBytes(kData)));

  WriteFileBytes(kData, DataFile({"kept"}));
  EXPECT_EQ(-1, tdb_create(store_));
  EXPECT_EQ(kErrDataExists, store_.Error());
  EXPECT_EQ(Hex(DataFile({"kept"})), Hex(ReadFileBytes(kData)));

  ASSERT_NE(nullptr, Open());
  EXPECT_EQ(1, RowCount(list_));
}

TEST_F(StoreTest, StartDeleteMovesTheHistoryAsideOrFails) {
  EXPECT_EQ(-1, tdb_startdel(store_, kStartDelBackup));
  EXPECT_EQ(kErrStartDelNoData, store_.Error());

  WriteFileBytes(kData, DataFile({"old"}));
  EXPECT_EQ(-1, tdb_startdel(store_, 102));
  EXPECT_EQ(kErrStartDelMode, store_.Error());
  EXPECT_TRUE(FileExists(kData)) << "a refused mode must delete nothing";

  WriteFileBytes(kBackup, "stale");
  ASSERT_EQ(0, tdb_startdel(store_, kStartDelBackup));
  EXPECT_FALSE(FileExists(kData));
  EXPECT_EQ(Hex(DataFile({"old"})), Hex(ReadFileBytes(kBackup)));

  // Without a backup the history is never deleted.
  WriteFileBytes(kData, DataFile({"newer"}));
  DeleteFileA(kBackup.c_str());
  CreateDirectoryA(kBackup.c_str(), nullptr);
  EXPECT_EQ(-1, tdb_startdel(store_, kStartDelBackup));
  EXPECT_EQ(kErrStartDelBackup, store_.Error());
  EXPECT_TRUE(FileExists(kData)) << "the folder holds " << FileNamesIn(L".");
  RemoveDirectoryA(kBackup.c_str());
  WriteFileBytes(kBackup, DataFile({"old"}));

  ASSERT_EQ(0, tdb_startdel(store_, kStartDelNoBackup));
  EXPECT_FALSE(FileExists(kData));
  EXPECT_EQ(Hex(DataFile({"old"})), Hex(ReadFileBytes(kBackup)));
}

TEST_F(StoreTest, OpenLoadsOneRowPerRecordAndSaveWritesThemBack) {
  const std::string sjis = "\x82\xA0\x82\xA2\x8A\xBF\x8E\x9A\r\nline2";  // あい漢字
  const std::string data = DataFile({"ab", "", sjis, std::string(150, 'z'), "a\r\nb"});
  WriteFileBytes(kData, data);
  ASSERT_NE(nullptr, Open());
  EXPECT_EQ(Hex(data), Hex(WorkBytes(store_)));
  ASSERT_EQ(5, RowCount(list_));
  const std::int32_t offsets[] = {4, 10, 14, 14 + 4 + 15, 14 + 4 + 15 + 4 + 150};
  for (int row = 0; row < 5; ++row) EXPECT_EQ(offsets[row], RowOffset(list_, row)) << "row " << row;
  EXPECT_EQ("ab", RowLabel(list_, 0));
  EXPECT_EQ("", RowLabel(list_, 1));
  EXPECT_EQ(std::string(100, 'z'), RowLabel(list_, 3));

  ASSERT_EQ(0, tdb_close(store_));
  EXPECT_EQ(Hex(data), Hex(ReadFileBytes(kData)));
  EXPECT_FALSE(FileExists(kWork));
}

TEST_F(StoreTest, OpenFailsWithoutDataFileOrWorkingFile) {
  EXPECT_EQ(nullptr, Open());
  EXPECT_EQ(kErrOpenNoData, store_.Error());

  WriteFileBytes(kData, DataFile({"x"}));
  // The working file cannot be made.
  ASSERT_TRUE(Succeeded(CreateDirectoryA(kWork.c_str(), nullptr)));
  EXPECT_EQ(nullptr, Open());
  EXPECT_EQ(kErrOpenWork, store_.Error());
  EXPECT_EQ(0, RowCount(list_));
  RemoveDirectoryA(kWork.c_str());
}

TEST_F(StoreTest, EmptyHistoryRoundTripsAsFourZeroBytes) {
  WriteFileBytes(kData, DataFile({}));
  ASSERT_NE(nullptr, Open());
  EXPECT_EQ(0, RowCount(list_));
  ASSERT_EQ(0, tdb_close(store_));
  EXPECT_EQ(Hex(DataFile({})), Hex(ReadFileBytes(kData)));
}

TEST_F(StoreTest, SecondCloseFailsAndLeavesTheDataFile) {
  WriteFileBytes(kData, DataFile({"a"}));
  ASSERT_NE(nullptr, Open());
  ASSERT_EQ(0, tdb_close(store_));
  // The store forgets the working file once closed; a second save finds none.
  EXPECT_EQ(-1, tdb_close(store_));
  EXPECT_EQ(kErrCloseNoStore, store_.Error());
  EXPECT_EQ(Hex(DataFile({"a"})), Hex(ReadFileBytes(kData)));
}

TEST_F(StoreTest, CloseKeepsEverythingWhenTheDataFileCannotBeReplaced) {
  WriteFileBytes(kData, DataFile({"before"}));
  ASSERT_NE(nullptr, Open());
  // Another program holds the data file open without sharing.
  HANDLE holder = CreateFileA(kData.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, holder);
  EXPECT_EQ(-1, tdb_close(store_));
  EXPECT_EQ(kErrCloseWrite, store_.Error()) << "the new file cannot replace the old one";
  EXPECT_FALSE(FileExists("clip.dat.tmp"));
  CloseHandle(holder);
  EXPECT_EQ(Hex(DataFile({"before"})), Hex(ReadFileBytes(kData)));
  EXPECT_TRUE(FileExists(kWork)) << "the folder holds " << FileNamesIn(L".");
  // The working file is still open: the store can still be saved.
  ASSERT_EQ(0, tdb_close(store_));
  EXPECT_EQ(Hex(DataFile({"before"})), Hex(ReadFileBytes(kData)));
}

TEST_F(StoreTest, ClearStartsAnEmptyWorkingFileAndEmptiesThePutBuffer) {
  WriteFileBytes(kData, DataFile({"a", "b"}));
  ASSERT_NE(nullptr, Open());
  ThePutBuffer().Fill(store_, {4});
  ShownList().lastCursorRow = 1;

  ASSERT_EQ(0, ClearClip());
  EXPECT_EQ(0, RowCount(list_));
  EXPECT_EQ(-1, ShownList().lastCursorRow);
  EXPECT_TRUE(ThePutBuffer().Empty()) << "offsets into the old working file must not survive";
  EXPECT_EQ("", WorkBytes(store_));
  EXPECT_EQ(Hex(DataFile({"a", "b"})), Hex(ReadFileBytes(kData))) << "until the next save";

  ASSERT_EQ(0, tdb_addrow(store_, "c", 0, kRowNew));
  ASSERT_EQ(0, tdb_append(store_, "c"));
  EXPECT_EQ(0, RowOffset(list_, 0)) << "the first record after a clear lies at offset 0";
  ASSERT_EQ(0, tdb_close(store_));
  EXPECT_EQ(Hex(DataFile({"c"})), Hex(ReadFileBytes(kData)));
}

TEST_F(StoreTest, ClearThenSaveLeavesFourZeroBytes) {
  WriteFileBytes(kData, DataFile({"a"}));
  ASSERT_NE(nullptr, Open());
  ASSERT_NE(nullptr, tdb_clear(store_));
  ASSERT_EQ(0, tdb_close(store_));
  EXPECT_EQ(Hex(DataFile({})), Hex(ReadFileBytes(kData)));
}

TEST_F(StoreTest, RestoreWithoutBackupChangesNothing) {
  WriteFileBytes(kData, DataFile({"a"}));
  ASSERT_NE(nullptr, Open());
  ASSERT_EQ(0, tdb_addrow(store_, "b", 0, kRowNew));
  ASSERT_EQ(0, tdb_append(store_, "b"));
  const std::string work = WorkBytes(store_);

  EXPECT_EQ(nullptr, tdb_restore(store_));
  EXPECT_EQ(kErrRestoreNoBackup, store_.Error());
  EXPECT_EQ(2, RowCount(list_));
  CreateDirectoryA(kBackup.c_str(), nullptr);  // there, but it cannot be copied
  EXPECT_EQ(nullptr, tdb_restore(store_));
  EXPECT_EQ(kErrRestoreCopy, store_.Error());
  EXPECT_EQ(2, RowCount(list_));
  ASSERT_EQ(0, tdb_addrow(store_, "c", 0, kRowNew)) << "the store must still be open";
  ASSERT_EQ(0, tdb_append(store_, "c"));
  EXPECT_EQ(Hex(work + Record("c")), Hex(WorkBytes(store_)));
}

TEST_F(StoreTest, RestoreReplacesTheWholeHistoryWithTheBackup) {
  WriteFileBytes(kData, DataFile({"current1", "current2", "current3"}));
  WriteFileBytes(kBackup, DataFile({"old"}));
  ASSERT_NE(nullptr, Open());
  ThePutBuffer().Fill(store_, {4});

  ASSERT_NE(nullptr, tdb_restore(store_));
  ASSERT_EQ(1, RowCount(list_));
  EXPECT_EQ("old", RowLabel(list_, 0));
  EXPECT_TRUE(ThePutBuffer().Empty());
  EXPECT_EQ(Hex(DataFile({"old"})), Hex(ReadFileBytes(kData)));
  EXPECT_TRUE(FileExists(kBackup)) << "restoring again later must give the same history";
}

// A damaged data file loads its whole records and nothing beyond them; an
// absurd count or length must not make the load read or reserve more.
TEST_F(StoreTest, DamagedDataFilesLoadTheirWholeRecordsOnly) {
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::string> loaded;
  };
  const Case cases[] = {
      {"count too large", Int32Bytes(5) + Record("a") + Record("bc"), {"a", "bc"}},
      {"count too small", Int32Bytes(1) + Record("a") + Record("bc"), {"a"}},
      {"absurd count", Int32Bytes(INT32_MAX) + Record("only"), {"only"}},
      {"negative count", Int32Bytes(-4) + Record("a"), {"a"}},
      {"last text cut", Int32Bytes(2) + Record("a") + Int32Bytes(10) + "xyz", {"a"}},
      {"length field cut", Int32Bytes(2) + Record("a") + "\x05\0", {"a"}},
      {"negative length", Int32Bytes(2) + Int32Bytes(-7) + "abc", {}},
      {"absurd length", Int32Bytes(1) + Int32Bytes(INT32_MAX) + "abc", {}},
      {"shorter than a count", std::string("\x01\0", 2), {}},
      {"empty file", "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    WriteFileBytes(kData, c.bytes);
    ASSERT_NE(nullptr, Open());
    ASSERT_EQ(static_cast<int>(c.loaded.size()), RowCount(list_));
    for (size_t i = 0; i < c.loaded.size(); ++i)
      EXPECT_EQ(c.loaded[i], RowLabel(list_, static_cast<int>(i)));
    ASSERT_EQ(0, tdb_close(store_));
    EXPECT_EQ(Hex(DataFile(c.loaded)), Hex(ReadFileBytes(kData))) << "saved well-formed";
  }
}

TEST_F(StoreTest, CloseFailsCleanlyWhenTheNewFileCannotBeMade) {
  WriteFileBytes(kData, DataFile({"before"}));
  ASSERT_NE(nullptr, Open());
  ASSERT_TRUE(Succeeded(CreateDirectoryA("clip.dat.tmp", nullptr)));  // where the new file would go
  EXPECT_EQ(-1, tdb_close(store_));
  EXPECT_EQ(kErrCloseCreate, store_.Error());
  EXPECT_EQ(Hex(DataFile({"before"})), Hex(ReadFileBytes(kData)));
  RemoveDirectoryA("clip.dat.tmp");
  ASSERT_EQ(0, tdb_close(store_));
}

// Rows and records against a real list view and a real working file.
#include <windows.h>
#include <commctrl.h>

#include <climits>
#include <functional>
#include <string>

#include "listwin/entries.h"
#include "listwin/listwin.h"
#include "output/text_match.h"
#include "store/history.h"
#include "store/store.h"
#include "store/unicode_record.h"
#include "win32/store_support.h"

namespace {

const std::string kWork = "clipwork.dat";
const std::string kData = "clip.dat";

// Adds a text the way capture does: a row for the end of the working file,
// then the record itself.
void Capture(const char* file, int line, const char* text, HANDLE store, HWND list) {
  ::testing::ScopedTrace trace(file, line, "Capture");
  ASSERT_EQ(0, tdb_addrow(text, 0, store, list, kRowNew));
  ASSERT_EQ(0, tdb_append(store, text));
}

std::string ReadEntry(const char* file, int line, HANDLE store, HWND list, int row) {
  ::testing::ScopedTrace trace(file, line, "ReadEntry");
  std::int32_t length = -1, offset = -1;
  EXPECT_EQ(store, tdb_gethead(store, list, row, &length, &offset));
  std::string text(static_cast<size_t>(length) + 1, '\x7F');
  tdb_read(store, &text[0], length);
  EXPECT_EQ('\0', text[static_cast<size_t>(length)]) << "tdb_read must terminate the text";
  text.resize(static_cast<size_t>(length));
  return text;
}

}  // namespace

#define CAPTURE(...) ASSERT_NO_FATAL_FAILURE(Capture(__FILE__, __LINE__, __VA_ARGS__))
#define READ_ENTRY(...) ReadEntry(__FILE__, __LINE__, __VA_ARGS__)

// ab in the data file; xyz captured; row 0 changed to q; saved.
TEST_F(StoreTest, WorkedRunGivesTheExactBytesAtEveryStep) {
  WriteFileBytes(kData, DataFile({"ab"}));
  ASSERT_NE(nullptr, Open());
  ASSERT_EQ(1, RowCount(list_));
  EXPECT_EQ(4, RowOffset(list_, 0));
  EXPECT_EQ("ab", RowLabel(list_, 0));
  EXPECT_EQ(Hex(DataFile({"ab"})), Hex(WorkBytes(store_)));

  CAPTURE("xyz", store_, list_);
  ASSERT_EQ(2, RowCount(list_));
  EXPECT_EQ(10, RowOffset(list_, 1));
  EXPECT_EQ("xyz", RowLabel(list_, 1));
  EXPECT_EQ(17u, WorkBytes(store_).size());

  ASSERT_EQ(0, tdb_modify("q", 0, store_, list_));
  const std::string work = WorkBytes(store_);
  EXPECT_EQ(Hex(DataFile({"ab"}) + Record("xyz") + Record("q")), Hex(work));
  EXPECT_EQ(17, RowOffset(list_, 0));
  EXPECT_EQ("q", RowLabel(list_, 0));

  ASSERT_EQ(0, tdb_close(store_, kBaseName, list_));
  store_ = nullptr;
  const std::string expected("\x02\0\0\0\x01\0\0\0q\x03\0\0\0xyz", 16);
  EXPECT_EQ(Hex(expected), Hex(ReadFileBytes(kData)));
  EXPECT_FALSE(FileExists(kWork));
}

TEST_F(StoreTest, LabelsAreTheFirstHundredBytesAndRecordsKeepEverything) {
  const std::string hundred(100, 'h');
  const std::string longer = std::string(100, 'L') + std::string(50, 'x');
  WriteFileBytes(kData, DataFile({}));
  ASSERT_NE(nullptr, Open());
  CAPTURE("", store_, list_);
  CAPTURE(hundred.c_str(), store_, list_);
  CAPTURE(longer.c_str(), store_, list_);

  ASSERT_EQ(3, RowCount(list_));
  EXPECT_EQ("", RowLabel(list_, 0));
  EXPECT_EQ(hundred, RowLabel(list_, 1));
  EXPECT_EQ(std::string(100, 'L'), RowLabel(list_, 2));
  EXPECT_EQ("", READ_ENTRY(store_, list_, 0));
  EXPECT_EQ(hundred, READ_ENTRY(store_, list_, 1));
  EXPECT_EQ(longer, READ_ENTRY(store_, list_, 2));
}

TEST_F(StoreTest, RowsSharingARecordAreSavedAsSeparateEntries) {
  WriteFileBytes(kData, DataFile({"one", "two"}));
  ASSERT_NE(nullptr, Open());
  // A second row for record 0, as a put does it.
  ASSERT_EQ(0, tdb_insrow(nullptr, RowOffset(list_, 0), 2, store_, list_, kRowExisting));
  EXPECT_EQ("one", RowLabel(list_, 2));
  ASSERT_EQ(0, tdb_modify("uno", 0, store_, list_));
  EXPECT_EQ("one", READ_ENTRY(store_, list_, 2)) << "changing one row must leave the other";

  ASSERT_EQ(0, tdb_close(store_, kBaseName, list_));
  store_ = nullptr;
  EXPECT_EQ(Hex(DataFile({"uno", "two", "one"})), Hex(ReadFileBytes(kData)));
}

TEST_F(StoreTest, InsertRowPlacesTheRowAtItsIndexOrAtTheEnd) {
  WriteFileBytes(kData, DataFile({"a", "b"}));
  ASSERT_NE(nullptr, Open());
  ASSERT_EQ(0, tdb_insrow("top", 0, 0, store_, list_, kRowNew));
  ASSERT_EQ(0, tdb_append(store_, "top"));
  ASSERT_EQ(0, tdb_insrow("far", 0, 99, store_, list_, kRowNew));
  ASSERT_EQ(0, tdb_append(store_, "far"));
  ASSERT_EQ(4, RowCount(list_));
  EXPECT_EQ("top", READ_ENTRY(store_, list_, 0));
  EXPECT_EQ("a", READ_ENTRY(store_, list_, 1));
  EXPECT_EQ("far", READ_ENTRY(store_, list_, 3));

  ASSERT_EQ(0, tdb_delrow(1, list_));
  ASSERT_EQ(3, RowCount(list_));
  EXPECT_EQ("b", RowLabel(list_, 1));
  EXPECT_EQ(Hex(DataFile({"a", "b"}) + Record("top") + Record("far")), Hex(WorkBytes(store_)))
      << "deleting a row must leave the working file as it was";
}

TEST_F(StoreTest, ArgumentFaultsFailWithTheirCodesAndChangeNothing) {
  WriteFileBytes(kData, DataFile({"keep"}));
  ASSERT_NE(nullptr, Open());
  const std::string workBefore = WorkBytes(store_);
  std::int32_t length = 0, offset = 0;
  auto handle = [](HANDLE h) { return h ? 0 : -1; };

  struct Case {
    const char* what;
    std::function<int()> call;
    int code;
  };
  const Case cases[] = {
      {"insrow row -1", [&] { return tdb_insrow("x", 0, -1, store_, list_, kRowNew); },
       kErrInsRowIndex},
      {"insrow no list", [&] { return tdb_insrow("x", 0, 0, store_, nullptr, kRowNew); },
       kErrInsRowNoList},
      {"insrow mode", [&] { return tdb_insrow("x", 0, 0, store_, list_, 202); }, kErrRowMode},
      {"addrow no list", [&] { return tdb_addrow("x", 0, store_, nullptr, kRowNew); },
       kErrAddRowNoList},
      {"addrow mode", [&] { return tdb_addrow("x", 0, store_, list_, 199); }, kErrRowMode},
      {"new row without a working file", [&] { return tdb_addrow("x", 0, nullptr, list_, kRowNew); },
       kErrAppendNoStore},
      {"append no store", [&] { return tdb_append(nullptr, "x"); }, kErrAppendNoStore},
      {"delrow no list", [&] { return tdb_delrow(0, nullptr); }, kErrDelRowNoList},
      {"delrow row -1", [&] { return tdb_delrow(-1, list_); }, kErrDelRowIndex},
      {"modify row -1, tested before the list", [&] { return tdb_modify("x", -1, store_, nullptr); },
       kErrModifyIndex},
      {"modify no list", [&] { return tdb_modify("x", 0, store_, nullptr); }, kErrModifyNoList},
      {"gethead no list",
       [&] { return handle(tdb_gethead(store_, nullptr, 0, &length, &offset)); },
       kErrGetHeadNoList},
      {"open no list", [&] { return handle(tdb_open(kBaseName, nullptr)); }, kErrOpenNoList},
      {"close no list", [&] { return tdb_close(store_, kBaseName, nullptr); }, kErrCloseNoList},
      {"close no store", [&] { return tdb_close(nullptr, kBaseName, list_); }, kErrCloseNoStore},
  };
  for (const Case& c : cases) {
    g_tdbError = 0;
    EXPECT_EQ(-1, c.call()) << c.what;
    EXPECT_EQ(c.code, g_tdbError) << c.what;
  }

  EXPECT_EQ(1, RowCount(list_));
  EXPECT_EQ("keep", RowLabel(list_, 0));
  EXPECT_EQ(Hex(workBefore), Hex(WorkBytes(store_)));
  EXPECT_EQ(Hex(DataFile({"keep"})), Hex(ReadFileBytes(kData)));
}

TEST_F(StoreTest, PutBufferHoldsOnlyWhatWasFilled) {
  EXPECT_EQ(0, tdb_bufsize());
  ASSERT_EQ(0, tdb_bufalloc(2));
  EXPECT_EQ(0, tdb_bufsize()) << "nothing filled yet";
  ASSERT_EQ(0, tdb_bufadd(17));
  EXPECT_EQ(1, tdb_bufsize()) << "a filler that stops part-way leaves only its slots";
  ASSERT_EQ(0, tdb_bufadd(4));
  EXPECT_EQ(2, tdb_bufsize());

  g_tdbError = 0;
  EXPECT_EQ(-1, tdb_bufadd(99));
  EXPECT_EQ(kErrBufFull, g_tdbError);

  std::int32_t offset = -5;
  ASSERT_EQ(0, tdb_bufget(0, &offset));
  EXPECT_EQ(17, offset);
  ASSERT_EQ(0, tdb_bufget(1, &offset));
  EXPECT_EQ(4, offset) << "the full buffer must be unchanged";
  g_tdbError = 0;
  EXPECT_EQ(-1, tdb_bufget(2, &offset));
  EXPECT_EQ(kErrBufIndex, g_tdbError);
  EXPECT_EQ(-1, tdb_bufget(-1, &offset));

  ASSERT_EQ(0, tdb_bufalloc(3));
  ASSERT_EQ(0, tdb_bufadd(8));
  EXPECT_EQ(-1, tdb_bufget(1, &offset)) << "an unfilled slot is no record";

  EXPECT_EQ(0, tdb_buffree());
  EXPECT_EQ(0, tdb_bufsize());
  EXPECT_EQ(-1, tdb_bufget(0, &offset));
}

TEST_F(StoreTest, InsertClipAddsAnEntryAtTheRow) {
  WriteFileBytes(kData, DataFile({"a", "b"}));
  g_store = Open();
  ASSERT_NE(nullptr, g_store);
  ASSERT_EQ(list_, g_hListView);
  InsertClip(1, "");
  InsertClip(0, "new");
  g_store = nullptr;
  ASSERT_EQ(4, RowCount(list_));
  EXPECT_EQ("new", READ_ENTRY(store_, list_, 0));
  EXPECT_EQ("a", READ_ENTRY(store_, list_, 1));
  EXPECT_EQ("", READ_ENTRY(store_, list_, 2));
  EXPECT_EQ("b", READ_ENTRY(store_, list_, 3));
}

TEST_F(StoreTest, ReversingTheOrderKeepsEachRowsLabelAndRecord) {
  WriteFileBytes(kData, DataFile({"a", "bb", "ccc", std::string(120, 'd')}));
  ASSERT_NE(nullptr, Open());
  const std::int32_t offsets[] = {4, 9, 15, 22};
  ReverseHistoryOrder(list_);
  ASSERT_EQ(4, RowCount(list_));
  EXPECT_EQ(std::string(100, 'd'), RowLabel(list_, 0));
  EXPECT_EQ("ccc", RowLabel(list_, 1));
  EXPECT_EQ("a", RowLabel(list_, 3));
  for (int row = 0; row < 4; ++row) EXPECT_EQ(offsets[3 - row], RowOffset(list_, row));
  EXPECT_EQ(std::string(120, 'd'), READ_ENTRY(store_, list_, 0))
      << "the whole text, not the label";

  ReverseHistoryOrder(list_);
  for (int row = 0; row < 4; ++row) EXPECT_EQ(offsets[row], RowOffset(list_, row));
  EXPECT_EQ(Hex(DataFile({"a", "bb", "ccc", std::string(120, 'd')})), Hex(WorkBytes(store_)))
      << "only the index changes";

  SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
  ReverseHistoryOrder(list_);  // an empty list stays empty
  EXPECT_EQ(0, RowCount(list_));
}

TEST_F(StoreTest, ReversedRowsComeOutWithoutSelectionOrFocus) {
  WriteFileBytes(kData, DataFile({"a", "b", "c"}));
  ASSERT_NE(nullptr, Open());
  LVITEMA state = {};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list_, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
  ReverseHistoryOrder(list_);
  EXPECT_EQ("c", RowLabel(list_, 0));
  EXPECT_EQ(0, SendMessageA(list_, LVM_GETSELECTEDCOUNT, 0, 0));
  EXPECT_EQ(-1, SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

namespace {

RowVerdict CollectMatch(int row, const char* text, std::size_t n, void* context) {
  auto* scan = static_cast<std::pair<const TextMatcher*, std::vector<int>*>*>(context);
  if (scan->first->Matches(text, n)) scan->second->push_back(row);
  return kRowNext;
}

// Every row holding the pattern, in the order the search meets them; the
// search skips to likely places unless `everyRow`.
std::vector<int> SearchAll(const char* pattern, int start, bool forward, bool everyRow) {
  const TextMatcher matcher(pattern);
  MatchStarts starts;
  starts.way[0] = matcher.Starts();
  std::vector<int> rows;
  std::pair<const TextMatcher*, std::vector<int>*> scan(&matcher, &rows);
  RowSearch search;
  search.starts = everyRow ? nullptr : &starts;
  search.visit = CollectMatch;
  search.context = &scan;
  EXPECT_EQ(-1, tdb_searchrows(start, forward, search));
  return rows;
}

}  // namespace

// Records of every length across several of the reader's blocks, rows
// out of file order, rows sharing a record, a reversed stretch: visiting
// every row and skipping to the likely places must both meet the rows
// whose texts, read one by one, hold the pattern, in the search's order.
TEST_F(StoreTest, SearchMeetsTheRowsWhoseTextsHoldThePattern) {
  std::vector<std::string> texts;
  unsigned seed = 1;
  for (int i = 0; i < 40000; ++i) {
    std::string text;
    for (int n = static_cast<int>((seed = seed * 1103515245u + 12345u) >> 25); n > 0; --n)
      text += "abQqxyz\x83\x61"[(seed = seed * 1103515245u + 12345u) >> 29];
    texts.push_back(text);
  }
  // One text longer than a block, so that it surely crosses one, with its
  // pattern at its very start.
  texts[20000] = "Zq" + std::string(1500000, 'x');
  WriteFileBytes(kData, DataFile(texts));
  ASSERT_NE(nullptr, Open());
  ASSERT_EQ(0, tdb_putrows(5, {RowOffset(list_, 30000), RowOffset(list_, 7)}, 3, list_));
  for (int row : {11, 20000, 39000}) ASSERT_EQ(0, tdb_modify("Qab q", row, store_, list_));
  ASSERT_EQ(0, tdb_delrows({3, 4, 25000}, list_));
  tdb_reverse(list_);
  const int rows = RowCount(list_);
  std::vector<std::string> rowTexts;
  for (int row = 0; row < rows; ++row) rowTexts.push_back(READ_ENTRY(store_, list_, row));
  for (const char* pattern : {"q", "ab", "Qa", "\x83\x61", "a\x83", "Zq", "ww"}) {
    const TextMatcher matcher(pattern);
    for (int start : {0, 17, rows - 1}) {
      for (bool forward : {true, false}) {
        SCOPED_TRACE(std::string(pattern) + " from " + std::to_string(start) +
                     (forward ? " down" : " up"));
        std::vector<int> holding;
        for (int k = 0, row = start; k < rows; ++k, row = (row + (forward ? 1 : rows - 1)) % rows)
          if (matcher.Matches(rowTexts[row].data(), rowTexts[row].size())) holding.push_back(row);
        EXPECT_EQ(std::string(pattern) != "ww", !holding.empty());
        EXPECT_EQ(holding, SearchAll(pattern, start, forward, true));
        EXPECT_EQ(holding, SearchAll(pattern, start, forward, false));
      }
    }
  }
  // A search that is told to stop stops.
  RowSearch stopped;
  stopped.visit = [](int, const char*, std::size_t, void*) { return kRowNext; };
  stopped.goOn = [](void*) { return false; };
  EXPECT_EQ(-2, tdb_searchrows(0, true, stopped));
}

// What rows show, read as the list view gives it in Unicode: breaks and
// tabs as one mark each, the Unicode copy where an entry keeps one (also
// behind a rendering longer than the label's bytes), and no half of a
// double-byte character where the label's bytes end.
TEST_F(StoreTest, LabelsShowMarksAndAUnicodeCopyCutAtTheColumns) {
  std::string manyAccents;
  std::string manyA = "a";
  for (int i = 0; i < 120; ++i) manyAccents += "\xc3\xa9";  // é, which code page 932 lacks
  for (int i = 0; i < 50; ++i) manyA += "\x82\xa0";        // あ: its 100th byte is a first byte
  WriteFileBytes(kData, DataFile({"a\r\nb\tc", unicode_record::Encode("caf?", "caf\xc3\xa9"),
                                  unicode_record::Encode(std::string(120, '?'), manyAccents),
                                  std::string("x\0UTF8\xff", 7), manyA}));
  ASSERT_NE(nullptr, Open());
  auto label = [&](int row) {
    wchar_t text[512] = {};
    LVITEMW item = {};
    item.pszText = text;
    item.cchTextMax = 512;
    SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return std::wstring(text);
  };
  EXPECT_EQ(L"a\u21b5b\u2192c", label(0));
  EXPECT_EQ(L"caf\u00e9", label(1));
  EXPECT_EQ(std::wstring(50, L'\u00e9'), label(2)) << "100 columns of characters 2 wide";
  EXPECT_EQ(L"x", label(3)) << "no well-formed copy: the rendering";
  EXPECT_EQ(L"a" + std::wstring(49, L'\u3042'), label(4)) << "no half character at the cut";
}

// Where a long record's rendering ends is remembered by its offset, which
// names another record in the next working file: there, a record without
// a zero byte whose bytes past the first one's zero would read as a copy.
TEST_F(StoreTest, ALongRecordsUnicodeCopyIsLookedForAgainInTheNextWorkingFile) {
  const std::string rendering(120, 'y');
  WriteFileBytes(kData, DataFile({unicode_record::Encode(rendering, "caf\xc3\xa9")}));
  ASSERT_NE(nullptr, Open());
  char label[kLabelMax + 1];
  std::string unicode;
  tdb_label(0, label, &unicode);
  ASSERT_EQ("caf\xc3\xa9", unicode);
  ASSERT_EQ(0, tdb_close(store_, kBaseName, list_));
  store_ = nullptr;
  WriteFileBytes(kData, DataFile({rendering + "-UTF8caf\xc3\xa9"}));
  ASSERT_NE(nullptr, Open());
  tdb_label(0, label, &unicode);
  EXPECT_EQ("", unicode) << "no zero byte, no Unicode copy";
  EXPECT_EQ(std::string(100, 'y'), label);
}

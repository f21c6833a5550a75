// Rows and records against a real list view and a real working file.
#include <windows.h>
#include <commctrl.h>

#include <climits>
#include <functional>
#include <string>

#include "listwin/entries.h"
#include "listwin/listwin.h"
#include "listwin/put_buffer.h"
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
void Capture(const char* file, int line, const char* text, Store& store) {
  ::testing::ScopedTrace trace(file, line, "Capture");
  ASSERT_EQ(0, tdb_addrow(store, text, 0, kRowNew));
  ASSERT_EQ(0, tdb_append(store, text));
}

std::string ReadEntry(const char* file, int line, const Store& store, int row) {
  ::testing::ScopedTrace trace(file, line, "ReadEntry");
  std::int32_t length = -1, offset = -1;
  EXPECT_EQ(store.Work(), tdb_gethead(store, row, &length, &offset));
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

  CAPTURE("xyz", store_);
  ASSERT_EQ(2, RowCount(list_));
  EXPECT_EQ(10, RowOffset(list_, 1));
  EXPECT_EQ("xyz", RowLabel(list_, 1));
  EXPECT_EQ(17u, WorkBytes(store_).size());

  ASSERT_EQ(0, tdb_modify(store_, "q", 0));
  const std::string work = WorkBytes(store_);
  EXPECT_EQ(Hex(DataFile({"ab"}) + Record("xyz") + Record("q")), Hex(work));
  EXPECT_EQ(17, RowOffset(list_, 0));
  EXPECT_EQ("q", RowLabel(list_, 0));

  ASSERT_EQ(0, tdb_close(store_));
  const std::string expected("\x02\0\0\0\x01\0\0\0q\x03\0\0\0xyz", 16);
  EXPECT_EQ(Hex(expected), Hex(ReadFileBytes(kData)));
  EXPECT_FALSE(FileExists(kWork));
}

TEST_F(StoreTest, LabelsAreTheFirstHundredBytesAndRecordsKeepEverything) {
  const std::string hundred(100, 'h');
  const std::string longer = std::string(100, 'L') + std::string(50, 'x');
  WriteFileBytes(kData, DataFile({}));
  ASSERT_NE(nullptr, Open());
  CAPTURE("", store_);
  CAPTURE(hundred.c_str(), store_);
  CAPTURE(longer.c_str(), store_);

  ASSERT_EQ(3, RowCount(list_));
  EXPECT_EQ("", RowLabel(list_, 0));
  EXPECT_EQ(hundred, RowLabel(list_, 1));
  EXPECT_EQ(std::string(100, 'L'), RowLabel(list_, 2));
  EXPECT_EQ("", READ_ENTRY(store_, 0));
  EXPECT_EQ(hundred, READ_ENTRY(store_, 1));
  EXPECT_EQ(longer, READ_ENTRY(store_, 2));
}

TEST_F(StoreTest, RowsSharingARecordAreSavedAsSeparateEntries) {
  WriteFileBytes(kData, DataFile({"one", "two"}));
  ASSERT_NE(nullptr, Open());
  // A second row for record 0, as a put does it.
  ASSERT_EQ(0, tdb_insrow(store_, nullptr, RowOffset(list_, 0), 2, kRowExisting));
  EXPECT_EQ("one", RowLabel(list_, 2));
  ASSERT_EQ(0, tdb_modify(store_, "uno", 0));
  EXPECT_EQ("one", READ_ENTRY(store_, 2)) << "changing one row must leave the other";

  ASSERT_EQ(0, tdb_close(store_));
  EXPECT_EQ(Hex(DataFile({"uno", "two", "one"})), Hex(ReadFileBytes(kData)));
}

TEST_F(StoreTest, InsertRowPlacesTheRowAtItsIndexOrAtTheEnd) {
  WriteFileBytes(kData, DataFile({"a", "b"}));
  ASSERT_NE(nullptr, Open());
  ASSERT_EQ(0, tdb_insrow(store_, "top", 0, 0, kRowNew));
  ASSERT_EQ(0, tdb_append(store_, "top"));
  ASSERT_EQ(0, tdb_insrow(store_, "far", 0, 99, kRowNew));
  ASSERT_EQ(0, tdb_append(store_, "far"));
  ASSERT_EQ(4, RowCount(list_));
  EXPECT_EQ("top", READ_ENTRY(store_, 0));
  EXPECT_EQ("a", READ_ENTRY(store_, 1));
  EXPECT_EQ("far", READ_ENTRY(store_, 3));

  ASSERT_EQ(0, tdb_delrow(store_, 1));
  ASSERT_EQ(3, RowCount(list_));
  EXPECT_EQ("b", RowLabel(list_, 1));
  EXPECT_EQ(Hex(DataFile({"a", "b"}) + Record("top") + Record("far")), Hex(WorkBytes(store_)))
      << "deleting a row must leave the working file as it was";
}

TEST_F(StoreTest, ArgumentFaultsFailWithTheirCodesAndChangeNothing) {
  WriteFileBytes(kData, DataFile({"keep"}));
  ASSERT_NE(nullptr, Open());
  const std::string workBefore = WorkBytes(store_);
  Store closed("other");  // never opened: no working file
  struct Case {
    const char* what;
    std::function<int()> call;
    int code;
    const Store* of;  // the store that keeps the code; null: the history
  };
  const Case cases[] = {
      {"insrow row -1", [&] { return tdb_insrow(store_, "x", 0, -1, kRowNew); },
       kErrInsRowIndex, nullptr},
      {"insrow mode", [&] { return tdb_insrow(store_, "x", 0, 0, 202); }, kErrRowMode, nullptr},
      {"addrow mode", [&] { return tdb_addrow(store_, "x", 0, 199); }, kErrRowMode, nullptr},
      {"new row without a working file", [&] { return tdb_addrow(closed, "x", 0, kRowNew); },
       kErrAppendNoStore, &closed},
      {"append no store", [&] { return tdb_append(closed, "x"); }, kErrAppendNoStore, &closed},
      {"delrow row -1", [&] { return tdb_delrow(store_, -1); }, kErrDelRowIndex, nullptr},
      {"modify row -1", [&] { return tdb_modify(store_, "x", -1); }, kErrModifyIndex, nullptr},
      {"close no store", [&] { return tdb_close(closed); }, kErrCloseNoStore, &closed},
  };
  for (const Case& c : cases) {
    store_.ClearError();
    EXPECT_EQ(-1, c.call()) << c.what;
    EXPECT_EQ(c.code, (c.of ? *c.of : store_).Error()) << c.what;
  }

  EXPECT_EQ(1, RowCount(list_));
  EXPECT_EQ("keep", RowLabel(list_, 0));
  EXPECT_EQ(Hex(workBefore), Hex(WorkBytes(store_)));
  EXPECT_EQ(Hex(DataFile({"keep"})), Hex(ReadFileBytes(kData)));
}

TEST_F(StoreTest, ThePutBufferNamesRecordsOnlyWhileTheirWorkingFileLasts) {
  WriteFileBytes(kData, DataFile({"a"}));
  ASSERT_NE(nullptr, Open());
  PutBuffer buffer;
  EXPECT_TRUE(buffer.Empty());
  buffer.Fill(store_, {17, 4});
  EXPECT_EQ(&store_, buffer.From());
  EXPECT_EQ((std::vector<std::int32_t>{17, 4}), buffer.Records());
  ASSERT_EQ(0, tdb_close(store_));
  ASSERT_NE(nullptr, Open());
  EXPECT_TRUE(buffer.Empty()) << "the records were in the working file that went";
  EXPECT_EQ(nullptr, buffer.From());
}

// Two stores side by side, each with its own files: a put from one into
// the other copies the texts, and each saves and loads again as exactly
// its own.
TEST_F(StoreTest, TwoStoresKeepTheirOwnTextsAndAPutAcrossCopiesThem) {
  Store phrases("phrase");
  WriteFileBytes(kData, DataFile({"h1", "h2"}));
  WriteFileBytes("phrase.dat", DataFile({"p1"}));
  ASSERT_NE(nullptr, Open());
  ASSERT_NE(nullptr, tdb_open(phrases));
  CAPTURE("h3", store_);
  CAPTURE("p2", phrases);
  ASSERT_EQ(0, tdb_delrow(phrases, 0));
  const std::string historyWork = WorkBytes(store_);
  ASSERT_EQ(0, tdb_putrows(phrases, 0, store_, {RowOffset(list_, 1), RowOffset(list_, 2)}, 2));
  ASSERT_EQ(0, tdb_putrows(phrases, 5, phrases, {tdb_rowoffset(phrases, 4)}, 1));
  ASSERT_EQ(0, tdb_modify(store_, "h1 changed", 0));
  EXPECT_EQ(Hex(historyWork + Record("h1 changed")), Hex(WorkBytes(store_)));
  EXPECT_EQ(3, RowCount(list_)) << "the list shows the history alone";
  const std::string phraseData = DataFile({"h2", "h3", "h2", "h3", "p2", "p2"});
  EXPECT_EQ(static_cast<std::int64_t>(phraseData.size()), tdb_savedsize(phrases));

  ASSERT_EQ(0, tdb_close(store_));
  ASSERT_EQ(0, tdb_close(phrases));
  EXPECT_EQ(Hex(DataFile({"h1 changed", "h2", "h3"})), Hex(ReadFileBytes(kData)));
  EXPECT_EQ(Hex(phraseData), Hex(ReadFileBytes("phrase.dat")));
  ASSERT_NE(nullptr, Open());
  ASSERT_NE(nullptr, tdb_open(phrases));
  EXPECT_EQ(3, tdb_rowcount(store_));
  EXPECT_EQ(6, tdb_rowcount(phrases));
  EXPECT_EQ("h3", READ_ENTRY(phrases, 3));
}

TEST_F(StoreTest, InsertClipAddsAnEntryAtTheRow) {
  WriteFileBytes(kData, DataFile({"a", "b"}));
  ASSERT_NE(nullptr, Open());
  ASSERT_EQ(list_, TheListWindow().view);
  InsertClip(1, "");
  InsertClip(0, "new");
  ASSERT_EQ(4, RowCount(list_));
  EXPECT_EQ("new", READ_ENTRY(store_, 0));
  EXPECT_EQ("a", READ_ENTRY(store_, 1));
  EXPECT_EQ("", READ_ENTRY(store_, 2));
  EXPECT_EQ("b", READ_ENTRY(store_, 3));
}

TEST_F(StoreTest, ReversingTheOrderKeepsEachRowsLabelAndRecord) {
  WriteFileBytes(kData, DataFile({"a", "bb", "ccc", std::string(120, 'd')}));
  ASSERT_NE(nullptr, Open());
  const std::int32_t offsets[] = {4, 9, 15, 22};
  ReverseHistoryOrder();
  ASSERT_EQ(4, RowCount(list_));
  EXPECT_EQ(std::string(100, 'd'), RowLabel(list_, 0));
  EXPECT_EQ("ccc", RowLabel(list_, 1));
  EXPECT_EQ("a", RowLabel(list_, 3));
  for (int row = 0; row < 4; ++row) EXPECT_EQ(offsets[3 - row], RowOffset(list_, row));
  EXPECT_EQ(std::string(120, 'd'), READ_ENTRY(store_, 0))
      << "the whole text, not the label";

  ReverseHistoryOrder();
  for (int row = 0; row < 4; ++row) EXPECT_EQ(offsets[row], RowOffset(list_, row));
  EXPECT_EQ(Hex(DataFile({"a", "bb", "ccc", std::string(120, 'd')})), Hex(WorkBytes(store_)))
      << "only the index changes";

  SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
  ReverseHistoryOrder();  // an empty list stays empty
  EXPECT_EQ(0, RowCount(list_));
}

TEST_F(StoreTest, ReversedRowsComeOutWithoutSelectionOrFocus) {
  WriteFileBytes(kData, DataFile({"a", "b", "c"}));
  ASSERT_NE(nullptr, Open());
  LVITEMA state = {};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list_, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
  ReverseHistoryOrder();
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
  EXPECT_EQ(-1, tdb_searchrows(History(), start, forward, search));
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
  ASSERT_EQ(0, tdb_putrows(store_, 5, store_, {RowOffset(list_, 30000), RowOffset(list_, 7)}, 3));
  for (int row : {11, 20000, 39000}) ASSERT_EQ(0, tdb_modify(store_, "Qab q", row));
  ASSERT_EQ(0, tdb_delrows(store_, {3, 4, 25000}));
  tdb_reverse(store_);
  const int rows = RowCount(list_);
  std::vector<std::string> rowTexts;
  for (int row = 0; row < rows; ++row) rowTexts.push_back(READ_ENTRY(store_, row));
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
  EXPECT_EQ(-2, tdb_searchrows(store_, 0, true, stopped));
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
  tdb_label(store_, 0, label, &unicode);
  ASSERT_EQ("caf\xc3\xa9", unicode);
  ASSERT_EQ(0, tdb_close(store_));
  WriteFileBytes(kData, DataFile({rendering + "-UTF8caf\xc3\xa9"}));
  ASSERT_NE(nullptr, Open());
  tdb_label(store_, 0, label, &unicode);
  EXPECT_EQ("", unicode) << "no zero byte, no Unicode copy";
  EXPECT_EQ(std::string(100, 'y'), label);
}

// A store of texts, such as the history. Texts live in a working file that
// only grows; the store's index holds each row's record offset, in the
// order of the list, whose view holds only the rows' number and states
// and asks for a row's label (at most the first 100 bytes of its text)
// when it draws the row. The data file carries the list from run to run
// and is rewritten from the rows at exit.
//
// Every operation returns 0 (or a handle) on success and -1 (or null) on
// failure, after writing one of the codes of store_errors.h to the
// store's Error().
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "store/row_index.h"
#include "store/store_errors.h"

// The history's base name; its files are clip.dat, clipwork.dat,
// clipdat.bak.
constexpr char kBaseName[] = "clip";

// tdb_addrow / tdb_insrow modes.
constexpr int kRowNew = 200;       // a text the caller appends next
constexpr int kRowExisting = 201;  // a record already in the working file

// tdb_startdel modes.
constexpr int kStartDelBackup = 100;
constexpr int kStartDelNoBackup = 101;

// When the last tdb_open found the data file damaged, the name of the
// copy of it that was kept ("" when the copy could not be made); empty
// when the file was sound.
struct LoadDamage {
  bool damaged = false;
  std::string copy;
};

// When the last tdb_recover kept a leftover aside: its new name and the
// number of whole texts in it after its first four bytes (the data file
// it began from and what that run appended); an empty name otherwise.
// `unreadable`: reading the leftover or the data file failed, so that
// nothing was taken up (the name is then empty when the leftover could
// not be moved, and the texts are not counted).
struct KeptLeftover {
  std::string name;
  int texts = 0;
  bool unreadable = false;
};

// One list of texts and its files, named after its base name: the data
// file <base>.dat, the working file <base>work.dat while it is open, and
// the backup <base>dat.bak. The program's history is one; another list
// is another instance under another base name.
class Store {
 public:
  // Where a damaged data file is kept before the next save replaces it.
  enum class DamagedCopy {
    kNumbered,  // <base>-damaged-<n>.dat, never overwritten
    kBackup,    // the backup <base>dat.bak, else <base>dat-<n>.bak
  };
  explicit Store(std::string base, DamagedCopy damagedCopy = DamagedCopy::kNumbered)
      : base_(std::move(base)), damagedCopy_(damagedCopy) {}
  // Whatever observed the rows may be gone by now: it is not told.
  ~Store() {
    SetObserver(nullptr);
    Abandon();
  }
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  const std::string& Base() const { return base_; }
  DamagedCopy DamagedCopyPlace() const { return damagedCopy_; }
  // The open working file; null while the store is closed.
  HANDLE Work() const { return index_.Work(); }
  // Changes whenever the working file is replaced (opened, cleared,
  // restored, closed): record offsets taken before name nothing after.
  std::uint32_t Generation() const { return generation_; }
  // The code of the last failure (store_errors.h); success leaves it alone.
  int Error() const { return error_; }
  void ClearError() { error_ = 0; }
  // The observer told of every change of the rows from now on; null for none.
  void SetObserver(RowObserver* observer) { index_.SetObserver(observer); }
  // What the last tdb_open and tdb_recover found; each is given once and
  // then forgotten, so that it is told once.
  LoadDamage TakeLoadDamage();
  KeptLeftover TakeKeptLeftover();
  // Closes the working file without saving and forgets the rows; the file
  // stays on disk, as after a run that was killed, for the next start to
  // recover.
  void Abandon();

  // For the store's operations.
  RowIndex& Index() { return index_; }
  const RowIndex& Index() const { return index_; }
  int Fail(int code) {
    error_ = code;
    return -1;
  }
  void SetWork(HANDLE work, std::int64_t bytes) {
    index_.Open(work, bytes);
    ++generation_;
  }
  LoadDamage& Damage() { return damage_; }
  KeptLeftover& Kept() { return kept_; }

 private:
  std::string base_;
  DamagedCopy damagedCopy_;
  RowIndex index_;
  std::uint32_t generation_ = 0;
  int error_ = 0;
  LoadDamage damage_;
  KeptLeftover kept_;
};

// Rows and records.
int tdb_addrow(Store& store, const char* text, std::int32_t offset, int mode);
int tdb_insrow(Store& store, const char* text, std::int32_t offset, int row, int mode);
// A row at `row` for a record of `length` text bytes that the caller
// appends next (tdb_insrow's kRowNew for a text that may hold a zero).
int tdb_insnewrow(Store& store, std::size_t length, int row);
int tdb_delrow(Store& store, int row);
// Removes the rows, given in ascending order, in one pass however many.
int tdb_delrows(Store& store, const std::vector<int>& rows);
// Inserts rows at `row` (past the end: at the end) for the records of
// `from` at the offsets, in their order, `times` over. Records of the
// store itself are shared by their rows; records of another store are
// copied into this one's working file first, each once.
int tdb_putrows(Store& store, int row, const Store& from, const std::vector<std::int32_t>& offsets,
                int times);
int tdb_append(Store& store, const char* text);
// The same for `length` bytes, which may include a zero.
int tdb_append(Store& store, const char* text, std::size_t length);
int tdb_modify(Store& store, const char* text, int row);
// The same for a record's text, which may hold a Unicode copy.
int tdb_modify(Store& store, const std::string& text, int row);
// Gives the row's record offset and text length and leaves the working
// file positioned at the first byte of the text.
HANDLE tdb_gethead(const Store& store, int row, std::int32_t* length, std::int32_t* offset);
// Reads n bytes at the current position into buffer (which holds n + 1)
// and terminates them after the bytes actually read.
char* tdb_read(const Store& store, char* buffer, std::int32_t n);

// The rows: their number, each row's record offset, and its label (the
// first 100 bytes of its text, zero-terminated), which the list view asks
// for when it draws the row. A row the store does not have gives 0 and "".
int tdb_rowcount(const Store& store);
std::int32_t tdb_rowoffset(const Store& store, int row);
void tdb_label(Store& store, int row, char out[kLabelMax + 1]);
// The same label, and for an entry that keeps a Unicode copy the start of
// that copy in UTF-8, whole characters enough for 100 columns ("" for
// any other entry).
void tdb_label(Store& store, int row, char out[kLabelMax + 1], std::string* unicode);
// The first row from `start` on (round to the top when `wrap`) whose label
// `match` accepts, -1 for none; it is given the label and the Unicode
// start as tdb_label gives them. Reads the labels in large blocks.
int tdb_findrow(Store& store, int start, bool wrap, LabelMatch match, void* context);
// Visits the rows' whole texts from `start` on, forward (down, and round
// from the last row to the first) or backward, each row once, until
// `visit` finds one, whose row is returned, or the search is given up
// (-2); -1 when none was found. The texts are read through large blocks
// of the working file, in place where a text lies inside one; the file's
// position is left as it was.
int tdb_searchrows(const Store& store, int start, bool forward, const RowSearch& search);
// Turns the order of the rows around; the list's states are the caller's.
void tdb_reverse(Store& store);
// Moves the rows (ascending) one place up (by -1) or down (by 1), a run of
// rows as a whole; -1, changing nothing, when one would leave the list.
int tdb_moverows(Store& store, const std::vector<int>& rows, int by);

// The bytes the data file would take if the store were saved now: the
// count and every row's record, rows that share a record each counting.
// Kept up to date by the operations that add, remove or repoint the rows
// (a new row's record counts once tdb_append has written it), so that
// asking costs nothing.
std::int64_t tdb_savedsize(const Store& store);
// The bytes the record at `offset` takes (length field and text); 0 when
// it cannot be read.
std::int64_t tdb_recordsize(const Store& store, std::int32_t offset);
// The bytes the records at the offsets take, each counted as often as it
// is named. Each distinct record is read once, in file order; where they
// lie densely (more than one per 64 KB of the file on average) through
// large blocks, since a read of its own for each would cost more than
// reading the whole file.
std::int64_t tdb_recordsizes(const Store& store, std::vector<std::int32_t> offsets);

// Lifecycle.
int tdb_create(Store& store);
int tdb_startdel(Store& store, int mode);
// Opens the working file and loads one row per record of the data file;
// the working file, or null.
HANDLE tdb_open(Store& store);
// Saves the rows to the data file and closes the working file. On a
// failure the store stays open and the old data file stands.
int tdb_close(Store& store);
// Empties the store with a new working file; null when none could be
// made, and nothing is open any more.
HANDLE tdb_clear(Store& store);
// Replaces the store with the backup of the start-up delete. Null when
// that failed: the store stays as it was when there was no backup or it
// could not be copied (kErrRestoreNoBackup, kErrRestoreCopy); after any
// other failure nothing is open any more.
HANDLE tdb_restore(Store& store);

// After a run that did not end normally: adds the texts that run
// appended to its leftover working file to the data file as new entries
// (on top, newest first, or at the bottom in capture order), when the
// leftover really continues the present data file; otherwise keeps the
// leftover under another name (see TakeKeptLeftover). Returns the number
// of entries recovered.
int tdb_recover(Store& store, bool newestFirst);

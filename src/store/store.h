// The history store. Texts live in a working file that only grows; the
// store's index holds each row's record offset, in the order of the
// history list, whose view holds only the rows' number and states and
// asks for a row's label (at most the first 100 bytes of its text) when it
// draws the row. The data file carries the history from run to run and is
// rewritten from the rows at exit.
//
// Every operation returns 0 (or a handle) on success and -1 (or null) on
// failure, after writing one of the codes of store_errors.h to g_tdbError.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "store/match_start.h"
#include "store/store_errors.h"

// The store's base name; the files are clip.dat, clipwork.dat, clipdat.bak.
constexpr char kBaseName[] = "clip";

constexpr int kLabelMax = 100;  // bytes of a text shown as its row label

// tdb_addrow / tdb_insrow modes.
constexpr int kRowNew = 200;       // a text the caller appends next
constexpr int kRowExisting = 201;  // a record already in the working file

// tdb_startdel modes.
constexpr int kStartDelBackup = 100;
constexpr int kStartDelNoBackup = 101;

// The code of the last failure; success leaves it alone.
extern int g_tdbError;

// When the last tdb_open found the data file damaged, the name of the
// copy of it that was kept ("" when the copy could not be made); empty
// when the file was sound.
struct LoadDamage {
  bool damaged = false;
  std::string copy;
};
extern LoadDamage g_loadDamage;
// Gives it and forgets it, so that it is told once.
LoadDamage TakeLoadDamage();

// Rows and records.
int tdb_addrow(const char* text, std::int32_t offset, HANDLE store, HWND list, int mode);
int tdb_insrow(const char* text, std::int32_t offset, int row, HANDLE store, HWND list,
               int mode);
// A row at `row` for a record of `length` text bytes that the caller
// appends next (tdb_insrow's kRowNew for a text that may hold a zero).
int tdb_insnewrow(std::size_t length, int row, HANDLE store, HWND list);
int tdb_delrow(int row, HWND list);
// Removes the rows, given in ascending order, in one pass however many.
int tdb_delrows(const std::vector<int>& rows, HWND list);
// Inserts rows for records already in the working file at `row` (past the
// end: at the end): the offsets in their order, `times` over.
int tdb_putrows(int row, const std::vector<std::int32_t>& offsets, int times, HWND list);
int tdb_append(HANDLE store, const char* text);
// The same for `length` bytes, which may include a zero.
int tdb_append(HANDLE store, const char* text, std::size_t length);
int tdb_modify(const char* text, int row, HANDLE store, HWND list);
// The same for a record's text, which may hold a Unicode copy.
int tdb_modify(const std::string& text, int row, HANDLE store, HWND list);
// Gives the row's record offset and text length and leaves the working
// file positioned at the first byte of the text.
HANDLE tdb_gethead(HANDLE store, HWND list, int row, std::int32_t* length,
                   std::int32_t* offset);
// The same for a caller that shows no rows of its own.
HANDLE tdb_rowhead(HANDLE store, int row, std::int32_t* length, std::int32_t* offset);
// Reads n bytes at the current position into buffer (which holds n + 1)
// and terminates them after the bytes actually read.
char* tdb_read(HANDLE store, char* buffer, std::int32_t n);

// The history's rows: their number, each row's record offset, and its
// label (the first 100 bytes of its text, zero-terminated), which the
// list view asks for when it draws the row. A row the history does not have gives 0 and "".
int tdb_rowcount();
std::int32_t tdb_rowoffset(int row);
void tdb_label(int row, char out[kLabelMax + 1]);
// The same label, and for an entry that keeps a Unicode copy the start of
// that copy in UTF-8, whole characters enough for 100 columns ("" for
// any other entry).
void tdb_label(int row, char out[kLabelMax + 1], std::string* unicode);
// The first row from `start` on (round to the top when `wrap`) whose label
// `match` accepts, -1 for none; it is given the label and the Unicode
// start as tdb_label gives them. Reads the labels in large blocks.
int tdb_findrow(int start, bool wrap,
                bool (*match)(const char* label, const std::string& unicode, void* context),
                void* context);
// What a search makes of a row's text.
enum RowVerdict : int { kRowNext, kRowFound, kRowGiveUp };
// A text longer than kWholeTextMost, handed over a piece at a time so
// that no search ever holds it whole.
constexpr std::size_t kWholeTextMost = 1u << 20;
class TextPieces {
 public:
  // The next piece, in order; false after the last one, and when the
  // rest cannot be read or the search is given up meanwhile.
  virtual bool Next(const char** piece, std::size_t* n) = 0;

 protected:
  ~TextPieces() = default;
};
struct RowSearch {
  // Only texts that hold a place where a match can begin are visited;
  // null visits every text.
  const MatchStarts* starts = nullptr;
  RowVerdict (*visit)(int row, const char* text, std::size_t n, void* context) = nullptr;
  // Visits a long text in pieces (whatever `starts` says); null visits
  // it whole.
  RowVerdict (*visitPieces)(int row, TextPieces& pieces, void* context) = nullptr;
  // Asked every few thousand rows; false gives the search up.
  bool (*goOn)(void* context) = nullptr;
  void* context = nullptr;
};
// Visits the rows' whole texts from `start` on, forward (down, and round
// from the last row to the first) or backward, each row once, until
// `visit` finds one, whose row is returned, or the search is given up
// (-2); -1 when none was found. The texts are read through large blocks
// of the working file, in place where a text lies inside one; the file's
// position is left as it was.
int tdb_searchrows(int start, bool forward, const RowSearch& search);
// Turns the order of the rows around; the list's states are the caller's.
void tdb_reverse(HWND list);

// The bytes the data file would take if the history were saved now: the
// count and every row's record, rows that share a record each counting.
// Kept up to date by the operations that add, remove or repoint the rows
// of the open store (a new row's record counts once tdb_append has
// written it), so that asking costs nothing.
std::int64_t tdb_savedsize();
// The bytes the record at `offset` takes (length field and text); 0 when
// it cannot be read.
std::int64_t tdb_recordsize(HANDLE store, std::int32_t offset);
// The bytes the records at the offsets take, each counted as often as it
// is named. Each distinct record is read once, in file order; where they
// lie densely (more than one per 64 KB of the file on average) through
// large blocks, since a read of its own for each would cost more than
// reading the whole file.
std::int64_t tdb_recordsizes(HANDLE store, std::vector<std::int32_t> offsets);

// The put buffer: record offsets of the last copy or deletion.
int tdb_bufalloc(int n);
int tdb_bufadd(std::int32_t offset);
int tdb_bufget(int index, std::int32_t* offset);
int tdb_bufsize();  // the number of filled slots
int tdb_buffree();

// Lifecycle.
int tdb_create(const char* base);
int tdb_startdel(const char* base, int mode);
HANDLE tdb_open(const char* base, HWND list);
int tdb_close(HANDLE store, const char* base, HWND list);
HANDLE tdb_clear(HANDLE store, const char* base, HWND list);
HANDLE tdb_restore(HANDLE store, const char* base, HWND list);

// After a run that did not end normally: adds the texts that run
// appended to its leftover working file to the data file as new entries
// (on top, newest first, or at the bottom in capture order), when the
// leftover really continues the present data file; otherwise keeps the
// leftover under another name. Returns the number of entries recovered.
int tdb_recover(const char* base, bool newestFirst);

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
extern KeptLeftover g_keptLeftover;
// Gives it and forgets it, so that it is told once.
KeptLeftover TakeKeptLeftover();

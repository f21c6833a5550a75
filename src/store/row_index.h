// The index of a list of texts: for every row of the list, the offset of
// its record in the working file, and the bytes those records would take
// in the data file. The list view itself holds no rows, only their number
// and the cursor and selection states (it is an owner-data list view); it
// asks for a row's label when it draws the row, and the label is read
// from the record then. Every change of the rows is told to the index's
// observer, which keeps whatever shows them in step.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/match_start.h"

class RowObserver;

constexpr int kLabelMax = 100;  // bytes of a text shown as its row label

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

using LabelMatch = bool (*)(const char* label, const std::string& unicode, void* context);

class RowIndex {
 public:
  RowIndex() = default;
  RowIndex(const RowIndex&) = delete;
  RowIndex& operator=(const RowIndex&) = delete;

  // The working file the rows point into (labels are read from it), and
  // the bytes its rows' records take; Close forgets both.
  void Open(HANDLE work, std::int64_t bytes);
  void Close();
  HANDLE Work() const { return work_; }
  // The records of the rows gained or lost `bytes`.
  void AddBytes(std::int64_t bytes) { bytes_ += bytes; }
  std::int64_t Bytes() const { return bytes_; }

  // Told of every change of the rows from now on; null for none.
  void SetObserver(RowObserver* observer) { observer_ = observer; }

  int Count() const { return static_cast<int>(offsets_.size()); }
  // The row's record offset; 0 for a row that does not exist.
  std::int32_t Offset(int row) const;
  const std::vector<std::int32_t>& Offsets() const { return offsets_; }

  // Replaces every row (a load): the observer hears the new count.
  void Assign(std::vector<std::int32_t> offsets);
  // Inserts rows for `offsets` at `row` (an index past the end: at the
  // end), in their order.
  void Insert(int row, const std::vector<std::int32_t>& offsets);
  // Removes the rows, given in ascending order; the rows below move up.
  void Erase(const std::vector<int>& rows);
  // Points a row at another record.
  void Repoint(int row, std::int32_t offset);
  void Clear();
  // Turns the order around.
  void Reverse();
  // Moves the rows, given in ascending order, one place up (by -1) or down
  // (by 1), a run of rows as a whole: the row they pass goes round them.
  // False, changing nothing, when one of them would leave the list.
  bool Move(const std::vector<int>& rows, int by);

  // The row's label: the first 100 bytes of its text, zero-terminated, and
  // for an entry that keeps a Unicode copy the start of that copy in UTF-8
  // (at least 100 characters where it has them), else "". Reading it
  // leaves the working file's position as it was.
  void Label(int row, char out[kLabelMax + 1], std::string* unicode);

  // Visits the rows' whole texts from `start` on, forward or backward and
  // round the end, each once (see tdb_searchrows).
  int Search(int start, bool forward, const RowSearch& search) const;

  // The first row from `start` on (going round to the top when `wrap`)
  // whose label `match` accepts, given as Label gives it; -1 for none. The
  // labels are read through large blocks of the working file, whose
  // position is left as it was.
  int Find(int start, bool wrap, LabelMatch match, void* context);

 private:
  // A small cache of labels by record offset: the list asks for the same
  // visible rows' labels again at every repaint. A record never changes
  // in place, so an offset keeps naming the same text while the working
  // file lasts.
  struct CachedLabel {
    std::int32_t offset = -1;
    char text[kLabelMax + 1] = {};
    std::string unicode;
  };

  void ForgetLabels();
  template <typename Read>
  std::int64_t RenderingEnd(std::int32_t offset, std::int32_t length, const char* first,
                            std::uint32_t got, Read&& read);
  template <typename Read>
  std::string UnicodeStart(std::int32_t offset, std::int32_t length, const char* first,
                           std::uint32_t got, Read&& read);

  HANDLE work_ = nullptr;
  std::int64_t bytes_ = 0;
  std::vector<std::int32_t> offsets_;
  RowObserver* observer_ = nullptr;
  std::array<CachedLabel, 512> cache_;
  // Where a long record's rendering ends, by record offset: the place in
  // its text of its zero byte, or -1 when it has none (it keeps no Unicode
  // copy). Finding it reads the rendering to its end, which for a long
  // entry is many times its label, and the label is read again whenever
  // its row comes back into view after the cache lost it: each record is
  // looked through once while the working file lasts. Records whose zero
  // byte or end lies within their label's bytes need no entry.
  std::unordered_map<std::int32_t, std::int64_t> renderingEnds_;
};

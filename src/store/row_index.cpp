#include "store/row_index.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <new>

#include "base/utf8.h"
#include "store/file_io.h"
#include "store/record_format.h"
#include "store/row_move.h"
#include "store/row_observer.h"
#include "store/unicode_record.h"

namespace {

// UTF-8 bytes enough for the label's columns: a character takes at least
// one column and at most four bytes.
constexpr std::uint32_t kUnicodeLabelBytes = 4 * kLabelMax;

}  // namespace

void RowIndex::ForgetLabels() {
  for (CachedLabel& c : cache_) c.offset = -1;
  renderingEnds_.clear();
}

// The place of the record's zero byte in its text, whose first `got`
// bytes are `first`; -1 for none. `read(at, out, n)` reads n bytes of the
// working file at `at` and says how many it got.
template <typename Read>
std::int64_t RowIndex::RenderingEnd(std::int32_t offset, std::int32_t length, const char* first,
                                    std::uint32_t got, Read&& read) {
  if (const void* z = std::memchr(first, '\0', got)) return static_cast<const char*>(z) - first;
  if (static_cast<std::int64_t>(got) >= length) return -1;
  const auto known = renderingEnds_.find(offset);
  if (known != renderingEnds_.end()) return known->second;
  const std::int64_t text = offset + record_format::kFieldSize;
  std::int64_t at = got, zero = -1;
  std::vector<char> piece(static_cast<size_t>(std::min<std::int64_t>(1 << 16, length - at)));
  while (at < length && zero < 0) {
    const std::uint32_t want = static_cast<std::uint32_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(piece.size()), length - at));
    const std::uint32_t n = read(text + at, piece.data(), want);
    if (n == 0) return -1;  // a read that failed is not remembered
    if (const void* z = std::memchr(piece.data(), '\0', n))
      zero = at + (static_cast<const char*>(z) - piece.data());
    at += n;
  }
  renderingEnds_[offset] = zero;
  return zero;
}

// The start of the record's Unicode copy, whose first `got` text bytes
// are `first`: "" when it keeps none. The rendering before it ends at the
// record's only zero byte, which a long rendering has beyond the label's
// bytes; `read` is as for RenderingEnd.
template <typename Read>
std::string RowIndex::UnicodeStart(std::int32_t offset, std::int32_t length, const char* first,
                                   std::uint32_t got, Read&& read) {

  const std::int64_t zero = RenderingEnd(offset, length, first, got, read);
  if (zero < 0) return std::string();
  const std::int64_t text = offset + record_format::kFieldSize;
  const std::int64_t after = length - zero - 1;
  std::string bytes(static_cast<size_t>(std::min<std::int64_t>(after, unicode_record::kTagBytes + kUnicodeLabelBytes)), '\0');
  if (read(text + zero + 1, &bytes[0], static_cast<std::uint32_t>(bytes.size())) != bytes.size() ||
      bytes.compare(0, unicode_record::kTagBytes, unicode_record::kTag) != 0)
    return std::string();
  bytes.erase(0, unicode_record::kTagBytes);
  // A character cut off at the end of what was read goes.
  size_t start = bytes.size();
  while (start > 0 && (static_cast<unsigned char>(bytes[start - 1]) & 0xC0) == 0x80) --start;
  if (start > 0) {
    const unsigned char lead = static_cast<unsigned char>(bytes[start - 1]);
    const size_t units = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (bytes.size() - (start - 1) < units) bytes.resize(start - 1);
  }
  return IsUtf8(bytes.data(), bytes.size()) ? bytes : std::string();
}

void RowIndex::Open(HANDLE work, std::int64_t bytes) {
  work_ = work;
  bytes_ = bytes;
  ForgetLabels();
}

void RowIndex::Close() { Open(nullptr, 0); }

std::int32_t RowIndex::Offset(int row) const {
  return row >= 0 && row < Count() ? offsets_[static_cast<size_t>(row)] : 0;
}

void RowIndex::Assign(std::vector<std::int32_t> offsets) {
  offsets_ = std::move(offsets);
  if (observer_) observer_->RowsReplaced(Count());
}

void RowIndex::Insert(int row, const std::vector<std::int32_t>& offsets) {
  row = std::min(std::max(row, 0), Count());
  offsets_.insert(offsets_.begin() + row, offsets.begin(), offsets.end());
  if (observer_) observer_->RowsInserted(row, static_cast<int>(offsets.size()), Count());
}

void RowIndex::Erase(const std::vector<int>& rows) {
  // One pass closes the gaps, however many rows go.
  size_t kept = static_cast<size_t>(rows.empty() ? Count() : rows.front());
  size_t next = 0;
  for (size_t i = kept; i < offsets_.size(); ++i) {
    if (next < rows.size() && static_cast<size_t>(rows[next]) == i)
      ++next;
    else
      offsets_[kept++] = offsets_[i];
  }
  offsets_.resize(kept);
  if (observer_) observer_->RowsRemoved(rows, Count());
}

void RowIndex::Repoint(int row, std::int32_t offset) {
  if (row < 0 || row >= Count()) return;
  offsets_[static_cast<size_t>(row)] = offset;
  if (observer_) observer_->RowRepointed(row);
}

void RowIndex::Clear() {
  offsets_.clear();
  offsets_.shrink_to_fit();
  if (observer_) observer_->RowsCleared();
}

void RowIndex::Reverse() {
  std::reverse(offsets_.begin(), offsets_.end());
  if (observer_) observer_->RowsReversed();
}

bool RowIndex::Move(const std::vector<int>& rows, int by) {
  int first = 0;
  std::vector<int> order;
  if (!MoveOrder(rows, by, Count(), &first, &order)) return false;
  std::vector<std::int32_t> moved(order.size());
  for (size_t i = 0; i < order.size(); ++i) moved[i] = offsets_[static_cast<size_t>(order[i])];
  std::copy(moved.begin(), moved.end(), offsets_.begin() + first);
  if (observer_) observer_->RowsMoved(first, order);
  return true;
}

void RowIndex::Label(int row, char out[kLabelMax + 1], std::string* unicode) {
  out[0] = '\0';
  if (unicode) unicode->clear();
  if (row < 0 || row >= Count() || !work_) return;
  const std::int32_t offset = offsets_[static_cast<size_t>(row)];
  CachedLabel& cached = cache_[static_cast<std::uint32_t>(offset) % cache_.size()];
  if (cached.offset != offset) {
    const std::int64_t position = store_io::Tell(work_);
    std::int32_t length = 0;
    std::uint32_t got = 0;
    if (store_io::SeekTo(work_, offset) && store_io::ReadInt32(work_, &length))
      got = store_io::Read(work_, cached.text,
                           static_cast<std::uint32_t>(std::min(std::max(length, 0), kLabelMax)));
    cached.text[got] = '\0';
    auto read = [this](std::int64_t at, char* bytes, std::uint32_t n) {
      return store_io::SeekTo(work_, at) ? store_io::Read(work_, bytes, n) : 0u;
    };
    cached.unicode = UnicodeStart(offset, length, cached.text, got, read);
    cached.offset = offset;
    if (position >= 0) store_io::SeekTo(work_, position);
  }
  std::copy(cached.text, cached.text + kLabelMax + 1, out);
  if (unicode) *unicode = cached.unicode;
}

namespace {

// How many rows a search goes through between asking whether to go on.
constexpr int kAskEvery = 4096;

// How many pieces of a long text are read between asking whether to go
// on: a text of some hundred MB must not hold up a key either.
constexpr int kAskEveryPieces = 8;

// A long text's pieces, each the part of it in one block of the reader.
class Pieces : public TextPieces {
 public:
  Pieces(store_io::BlockReader& reader, std::int64_t offset, std::uint32_t n,
         const RowSearch& search)
      : reader_(reader), at_(offset), left_(n), search_(search) {}
  bool Next(const char** piece, std::size_t* n) override {
    if (left_ == 0 || failed_ || gaveUp_) return false;
    if (++read_ % kAskEveryPieces == 0 && search_.goOn && !search_.goOn(search_.context)) {
      gaveUp_ = true;
      return false;
    }
    const std::uint32_t got = reader_.Piece(at_, left_, piece);
    failed_ = got == 0;
    at_ += got;
    left_ -= got;
    *n = got;
    return got > 0;
  }
  bool GaveUp() const { return gaveUp_; }
  bool Whole() const { return left_ == 0; }

 private:
  store_io::BlockReader& reader_;
  std::int64_t at_;
  std::uint32_t left_;
  const RowSearch& search_;
  int read_ = 0;
  bool failed_ = false, gaveUp_ = false;
};

// Visits the row's text if it may hold a match: read in place, copied
// when it crosses a block, or handed over in pieces when it is long; a
// record that cannot be read holds nothing.
RowVerdict VisitOne(store_io::BlockReader& reader, std::int32_t offset, int row,
                    const RowSearch& search, std::vector<char>* scratch) {
  const char* field = nullptr;
  std::int32_t length = 0;
  if (!reader.View(offset, record_format::kFieldSize, &field, scratch)) return kRowNext;
  length = record_format::DecodeInt32(reinterpret_cast<const unsigned char*>(field));
  if (length > 0 && static_cast<std::size_t>(length) > kWholeTextMost && search.visitPieces) {
    Pieces pieces(reader, offset + record_format::kFieldSize, static_cast<std::uint32_t>(length),
                  search);
    const RowVerdict verdict = search.visitPieces(row, pieces, search.context);
    if (pieces.GaveUp()) return kRowGiveUp;
    return pieces.Whole() ? verdict : kRowNext;
  }
  const char* text = nullptr;
  if (length < 0 || !reader.View(offset + record_format::kFieldSize,
                                 static_cast<std::uint32_t>(length), &text, scratch))
    return kRowNext;
  if (search.starts && NextMatchStart(text, text + length, *search.starts) == text + length)
    return kRowNext;
  return search.visit(row, text, static_cast<std::size_t>(length), search.context);
}

// A run of rows whose records follow one another through one block of
// the working file, in the order the search visits them (up or down the
// file). Its bytes are looked through in one go, and only the records
// where a match can begin are visited: a history whose rows lie in file
// order, as a history mostly does, is searched at the pace of its bytes.
class Run {
 public:
  Run(const char* block, std::int64_t start, std::uint32_t length)
      : block_(block), start_(start), end_(start + length) {}

  // The record's text, when the whole record lies in the block.
  bool Text(std::int32_t offset, const char** text, std::int32_t* length) const {
    if (offset < start_ || offset + record_format::kFieldSize > end_) return false;
    *text = At(offset + record_format::kFieldSize);
    *length = record_format::DecodeInt32(reinterpret_cast<const unsigned char*>(At(offset)));
    return *length >= 0 && offset + record_format::kFieldSize + *length <= end_;
  }
  bool Holds(std::int32_t offset) const {
    return offset >= start_ && offset + record_format::kFieldSize <= end_;
  }
  const char* At(std::int64_t offset) const { return block_ + (offset - start_); }
  std::int64_t OffsetOf(const char* at) const { return start_ + (at - block_); }

 private:
  const char* block_;
  std::int64_t start_, end_;
};

// Searches the rows from `row` on, `most` of them at most, in visit
// order; *taken says how many it went through. The first row's record
// must lie in the run's block.
int SearchRun(const Run& run, const std::vector<std::int32_t>& offsets, int row, int step,
              int most, const RowSearch& search, int* taken) {
  auto offset = [&](int i) { return offsets[static_cast<size_t>(row + i * step)]; };
  const bool up = most > 1 && offset(1) > offset(0);  // up the file
  int n = 1;
  while (n < most && run.Holds(offset(n)) && (offset(n) > offset(n - 1)) == up &&
         offset(n) != offset(n - 1))
    ++n;
  const char* text = nullptr;
  std::int32_t length = 0;
  // Going up, the last record must end inside the block; going down, the
  // first, which was checked. Every other one ends where the next begins.
  if (up && !run.Text(offset(n - 1), &text, &length)) --n;
  int top = up ? n - 1 : 0, bottom = up ? 0 : n - 1;
  if (!run.Text(offset(top), &text, &length)) {
    // Records that would overlap: never written so, but then the first
    // row, whose record was checked, goes alone.
    n = 1;
    top = bottom = 0;
    run.Text(offset(0), &text, &length);
  }
  *taken = n;
  const char* lo = run.At(offset(bottom) + record_format::kFieldSize);
  const char* hi = text + length;
  int j = 0;  // the record the latest place lies in, or one before it
  const char* before = hi;
  for (const char* at = lo;;) {
    at = up ? NextMatchStart(at, hi, *search.starts) : LastMatchStart(lo, before, hi, *search.starts);
    if (!at || at == hi) return -1;
    const std::int64_t place = run.OffsetOf(at);
    if (up) {
      while (j + 1 < n && offset(j + 1) <= place) ++j;
    } else {
      while (j + 1 < n && offset(j) > place) ++j;
    }
    const std::int32_t record = offset(j);
    if (record > place || !run.Text(record, &text, &length) || at < text || at >= text + length) {
      // A length field, or bytes no row names.
      if (up) ++at; else before = at;
      continue;
    }
    switch (search.visit(row + j * step, text, static_cast<std::size_t>(length), search.context)) {
      case kRowFound:
        return row + j * step;
      case kRowGiveUp:
        return -2;
      case kRowNext:
        break;
    }
    if (up) at = text + length; else before = run.At(record);
  }
}

}  // namespace

int RowIndex::Search(int start, bool forward, const RowSearch& search) const {
  const int rows = Count();
  if (rows == 0 || !work_) return -1;
  const std::int64_t position = store_io::Tell(work_);
  store_io::BlockReader reader(work_);
  std::vector<char> scratch;
  const int step = forward ? 1 : -1;
  int result = -1;
  int row = std::min(std::max(start, 0), rows - 1);
  for (int done = 0, ask = kAskEvery; done < rows && result == -1;) {
    if (done >= ask) {
      ask += kAskEvery;
      if (search.goOn && !search.goOn(search.context)) {
        result = -2;
        break;
      }
    }
    // Up to the next question, and not round the end.
    const int most = std::min({rows - done, ask - done, forward ? rows - row : row + 1});
    const std::int32_t offset = offsets_[static_cast<size_t>(row)];
    const char* block = nullptr;
    std::int64_t blockStart = 0;
    std::uint32_t blockLength = 0;
    const char* text = nullptr;
    std::int32_t length = 0;
    int taken = 1;
    if (search.starts && reader.Block(offset, &block, &blockStart, &blockLength) &&
        Run(block, blockStart, blockLength).Text(offset, &text, &length)) {
      result = SearchRun(Run(block, blockStart, blockLength), offsets_, row, step, most, search,
                         &taken);
    } else {
      switch (VisitOne(reader, offset, row, search, &scratch)) {
        case kRowFound:
          result = row;
          break;
        case kRowGiveUp:
          result = -2;
          break;
        case kRowNext:
          break;
      }
    }
    done += taken;
    row = (row + taken * step + rows) % rows;
  }
  if (position >= 0) store_io::SeekTo(work_, position);
  return result;
}

int RowIndex::Find(int start, bool wrap, LabelMatch match, void* context) {
  const int rows = Count();
  if (rows == 0 || !work_) return -1;
  start = std::min(std::max(start, 0), rows - 1);
  const std::int64_t position = store_io::Tell(work_);
  store_io::BlockReader reader(work_);
  auto read = [&reader](std::int64_t at, char* out, std::uint32_t n) {
    return reader.ReadAt(at, out, n) ? n : 0u;
  };
  int found = -1;
  const int end = wrap ? start + rows : rows;
  for (int i = start; i < end && found < 0; ++i) {
    const int row = i % rows;
    const std::int32_t offset = offsets_[static_cast<size_t>(row)];
    std::int32_t length = 0;
    char label[kLabelMax + 1] = {};
    std::string unicode;
    if (reader.ReadInt32(offset, &length)) {
      const std::uint32_t n = static_cast<std::uint32_t>(std::min(std::max(length, 0), kLabelMax));
      const bool got = reader.ReadAt(offset + record_format::kFieldSize, label, n);
      label[got ? n : 0] = '\0';
      if (got) unicode = UnicodeStart(offset, length, label, n, read);
    }
    if (match(label, unicode, context)) found = row;
  }
  if (position >= 0) store_io::SeekTo(work_, position);
  return found;
}

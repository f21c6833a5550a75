#include "store/row_index.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <new>

#include "store/file_io.h"
#include "store/record_format.h"
#include "store/row_observer.h"
#include "store/store.h"

namespace row_index {

namespace {

HANDLE g_work = nullptr;
std::int64_t g_bytes = 0;
std::vector<std::int32_t> g_offsets;

// A small cache of labels by record offset: the list asks for the same
// visible rows' labels again at every repaint. A record never changes
// in place, so an offset keeps naming the same text while the working
// file lasts.
struct CachedLabel {
  std::int32_t offset = -1;
  char text[kLabelMax + 1] = {};
};
std::array<CachedLabel, 512> g_cache;

RowObserver* g_observer = nullptr;

void ForgetLabels() {
  for (CachedLabel& c : g_cache) c.offset = -1;
}

}  // namespace

void Open(HANDLE work, std::int64_t bytes) {
  g_work = work;
  g_bytes = bytes;
  ForgetLabels();
}

void Close() { Open(nullptr, 0); }

HANDLE Work() { return g_work; }

void AddBytes(HANDLE work, std::int64_t bytes) {
  if (work && work == g_work) g_bytes += bytes;
}

std::int64_t Bytes() { return g_bytes; }

int Count() { return static_cast<int>(g_offsets.size()); }

std::int32_t Offset(int row) {
  return row >= 0 && row < Count() ? g_offsets[static_cast<size_t>(row)] : 0;
}

const std::vector<std::int32_t>& Offsets() { return g_offsets; }

void Assign(HWND list, std::vector<std::int32_t> offsets) {
  g_offsets = std::move(offsets);
  if (g_observer && list) g_observer->RowsReplaced(list, Count());
}

void Insert(HWND list, int row, const std::vector<std::int32_t>& offsets) {
  row = std::min(std::max(row, 0), Count());
  g_offsets.insert(g_offsets.begin() + row, offsets.begin(), offsets.end());
  if (g_observer && list) g_observer->RowsInserted(list, row, static_cast<int>(offsets.size()), Count());
}

void Erase(HWND list, const std::vector<int>& rows) {
  // One pass closes the gaps, however many rows go.
  size_t kept = static_cast<size_t>(rows.empty() ? Count() : rows.front());
  size_t next = 0;
  for (size_t i = kept; i < g_offsets.size(); ++i) {
    if (next < rows.size() && static_cast<size_t>(rows[next]) == i)
      ++next;
    else
      g_offsets[kept++] = g_offsets[i];
  }
  g_offsets.resize(kept);
  if (g_observer && list) g_observer->RowsRemoved(list, rows, Count());
}

void Repoint(HWND list, int row, std::int32_t offset) {
  if (row < 0 || row >= Count()) return;
  g_offsets[static_cast<size_t>(row)] = offset;
  if (g_observer && list) g_observer->RowRepointed(list, row);
}

void Clear(HWND list) {
  g_offsets.clear();
  g_offsets.shrink_to_fit();
  if (g_observer && list) g_observer->RowsCleared(list);
}

void Reverse(HWND list) {
  std::reverse(g_offsets.begin(), g_offsets.end());
  if (g_observer && list) g_observer->RowsReversed(list);
}

void Label(int row, char out[kLabelMax + 1]) {
  out[0] = '\0';
  if (row < 0 || row >= Count() || !g_work) return;
  const std::int32_t offset = g_offsets[static_cast<size_t>(row)];
  CachedLabel& cached = g_cache[static_cast<std::uint32_t>(offset) % g_cache.size()];
  if (cached.offset != offset) {
    const std::int64_t position = store_io::Tell(g_work);
    std::int32_t length = 0;
    std::uint32_t got = 0;
    if (store_io::SeekTo(g_work, offset) && store_io::ReadInt32(g_work, &length))
      got = store_io::Read(g_work, cached.text,
                           static_cast<std::uint32_t>(std::min(std::max(length, 0), kLabelMax)));
    cached.text[got] = '\0';
    cached.offset = offset;
    if (position >= 0) store_io::SeekTo(g_work, position);
  }
  std::copy(cached.text, cached.text + kLabelMax + 1, out);
}

int Search(int start, bool forward,
           RowVerdict (*visit)(int row, const char* text, std::size_t n, void* context),
           void* context) {
  const int rows = Count();
  if (rows == 0 || !g_work) return -1;
  const std::int64_t position = store_io::Tell(g_work);
  store_io::BlockReader reader(g_work);
  std::vector<char> scratch;
  int result = -1;
  int row = std::min(std::max(start, 0), rows - 1);
  for (int k = 0; k < rows && result == -1; ++k) {
    const std::int32_t offset = g_offsets[static_cast<size_t>(row)];
    const char* field = nullptr;
    std::int32_t length = 0;
    if (reader.View(offset, record_format::kFieldSize, &field, &scratch))
      length = record_format::DecodeInt32(reinterpret_cast<const unsigned char*>(field));
    const char* text = "";
    if (length < 0 ||
        !reader.View(offset + record_format::kFieldSize, static_cast<std::uint32_t>(length), &text,
                     &scratch))
      length = 0;  // a record that cannot be read holds nothing to find
    switch (visit(row, text, static_cast<std::size_t>(length), context)) {
      case kRowFound:
        result = row;
        break;
      case kRowGiveUp:
        result = -2;
        break;
      case kRowNext:
        break;
    }
    if (forward)
      row = row + 1 == rows ? 0 : row + 1;
    else
      row = row == 0 ? rows - 1 : row - 1;
  }
  if (position >= 0) store_io::SeekTo(g_work, position);
  return result;
}

int Find(int start, bool wrap, bool (*match)(const char* label, void* context), void* context) {
  const int rows = Count();
  if (rows == 0 || !g_work) return -1;
  start = std::min(std::max(start, 0), rows - 1);
  const std::int64_t position = store_io::Tell(g_work);
  store_io::BlockReader reader(g_work);
  int found = -1;
  const int end = wrap ? start + rows : rows;
  for (int i = start; i < end && found < 0; ++i) {
    const int row = i % rows;
    const std::int32_t offset = g_offsets[static_cast<size_t>(row)];
    std::int32_t length = 0;
    char label[kLabelMax + 1] = {};
    if (reader.ReadInt32(offset, &length)) {
      const std::uint32_t n = static_cast<std::uint32_t>(std::min(std::max(length, 0), kLabelMax));
      label[reader.ReadAt(offset + record_format::kFieldSize, label, n) ? n : 0] = '\0';
    }
    if (match(label, context)) found = row;
  }
  if (position >= 0) store_io::SeekTo(g_work, position);
  return found;
}

}  // namespace row_index
void SetRowObserver(RowObserver* observer) { row_index::g_observer = observer; }

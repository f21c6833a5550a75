#include "store/row_index.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "store/file_io.h"
#include "store/record_format.h"
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

void ForgetLabels() {
  for (CachedLabel& c : g_cache) c.offset = -1;
}

// Whether the view moves the cursor and selection states with the rows
// when a row is inserted in the middle. Windows' owner-data list view
// does ("for selection integrity"); Wine's only counts the new row at the
// end, and the states are then moved here. Found out once, on a list of
// our own.
bool ViewShiftsStatesOnInsert() {
  static const bool shifts = [] {
    HWND probe = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | LVS_REPORT | LVS_OWNERDATA, 0, 0,
                                 10, 10, nullptr, nullptr, nullptr, nullptr);
    if (!probe) return true;
    SendMessageW(probe, LVM_SETITEMCOUNT, 2, LVSICF_NOINVALIDATEALL);
    LVITEMW focus = {};
    focus.state = focus.stateMask = LVIS_FOCUSED;
    SendMessageW(probe, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&focus));
    LVITEMW row = {};
    row.iItem = 0;
    SendMessageW(probe, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row));
    const LRESULT focused =
        SendMessageW(probe, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
    DestroyWindow(probe);
    return focused == 2;
  }();
  return shifts;
}

void SetState(HWND list, int row, UINT state, UINT mask) {
  LVITEMW item = {};
  item.state = state;
  item.stateMask = mask;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// Moves the focus and the selection of the rows from `row` on down by
// `by`, after rows were inserted there without the view doing it. Only
// the selected rows are visited: the search stops at the last one.
void ShiftStatesDown(HWND list, int row, int by) {
  const int focus =
      static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  const int selected = static_cast<int>(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
  std::vector<int> moving;
  for (int r = -1, seen = 0; seen < selected; ++seen) {
    r = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(r), LVNI_SELECTED));
    if (r < 0) break;
    if (r >= row) moving.push_back(r);
  }
  for (int r : moving) SetState(list, r, 0, LVIS_SELECTED);
  for (int r : moving) SetState(list, r + by, LVIS_SELECTED, LVIS_SELECTED);
  if (focus >= row) SetState(list, focus + by, LVIS_FOCUSED, LVIS_FOCUSED);
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
  if (list) SendMessageW(list, LVM_SETITEMCOUNT, g_offsets.size(), 0);
}

void Insert(HWND list, int row, const std::vector<std::int32_t>& offsets) {
  row = std::min(std::max(row, 0), Count());
  g_offsets.insert(g_offsets.begin() + row, offsets.begin(), offsets.end());
  if (!list) return;
  const int n = static_cast<int>(offsets.size());
  LVITEMW item = {};
  item.iItem = row;
  for (int i = 0; i < n; ++i) SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  if (row < Count() - n && !ViewShiftsStatesOnInsert()) ShiftStatesDown(list, row, n);
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
  if (!list) return;
  // The view moves the states of the rows below up by itself; from the
  // bottom up, every row named is still where it was.
  for (auto r = rows.rbegin(); r != rows.rend(); ++r)
    SendMessageW(list, LVM_DELETEITEM, static_cast<WPARAM>(*r), 0);
}

void Repoint(HWND list, int row, std::int32_t offset) {
  if (row < 0 || row >= Count()) return;
  g_offsets[static_cast<size_t>(row)] = offset;
  if (list) SendMessageW(list, LVM_REDRAWITEMS, static_cast<WPARAM>(row), row);
}

void Clear(HWND list) {
  g_offsets.clear();
  g_offsets.shrink_to_fit();
  if (list) SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
}

void Reverse(HWND list) {
  std::reverse(g_offsets.begin(), g_offsets.end());
  if (list) InvalidateRect(list, nullptr, TRUE);
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

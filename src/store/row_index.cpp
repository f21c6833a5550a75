#include "store/row_index.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <new>

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

void SetState(HWND list, int row, UINT state, UINT mask) {
  LVITEMW item = {};
  item.state = state;
  item.stateMask = mask;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

int FocusedRow(HWND list) {
  return static_cast<int>(
      SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

// The selected rows in ascending order. The search stops at the last
// selected row: looking past it would visit every remaining row.
std::vector<int> SelectedRowsOf(HWND list) {
  std::vector<int> rows;
  const int selected = static_cast<int>(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
  rows.reserve(static_cast<size_t>(selected));
  for (int r = -1; static_cast<int>(rows.size()) < selected;) {
    r = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(r), LVNI_SELECTED));
    if (r < 0) break;
    rows.push_back(r);
  }
  return rows;
}

int TopRow(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0)); }

// Scrolls the list so that `top` is its first visible row again.
void ScrollBackTo(HWND list, int top) {
  RECT r = {};
  r.left = LVIR_BOUNDS;
  if (!SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r))) return;
  SendMessageW(list, LVM_SCROLL, 0, (top - TopRow(list)) * (r.bottom - r.top));
}

// Takes every state from every row at once. Telling the view "all rows"
// visits each of them, and unselecting them one by one costs a message
// each; an empty count drops the states without either.
void DropAllStates(HWND list, int top) {
  SendMessageW(list, LVM_SETITEMCOUNT, 0, LVSICF_NOINVALIDATEALL);
  SendMessageW(list, LVM_SETITEMCOUNT, g_offsets.size(), LVSICF_NOINVALIDATEALL);
  ScrollBackTo(list, top);
}

void ApplyStates(HWND list, const std::vector<int>& selected, int focus, int top) {
  constexpr size_t kFewRows = 256;  // fewer are cheaper unselected one by one
  // Far more rows selected than should be: no need to list them first.
  const size_t count = static_cast<size_t>(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
  std::vector<int> present, drop, add;
  if (count <= selected.size() + kFewRows) present = SelectedRowsOf(list);
  std::set_difference(present.begin(), present.end(), selected.begin(), selected.end(),
                      std::back_inserter(drop));
  if (drop.size() > kFewRows || count > selected.size() + kFewRows) {
    DropAllStates(list, top);
    drop.clear();
    present.clear();
  }
  std::set_difference(selected.begin(), selected.end(), present.begin(), present.end(),
                      std::back_inserter(add));
  for (int r : drop) SetState(list, r, 0, LVIS_SELECTED);
  for (int r : add) SetState(list, r, LVIS_SELECTED, LVIS_SELECTED);
  const int now = FocusedRow(list);
  if (focus >= 0 && now != focus) SetState(list, focus, LVIS_FOCUSED, LVIS_FOCUSED);
  if (focus < 0 && now >= 0) SetState(list, now, 0, LVIS_FOCUSED);
}

// Rows came or went: the view gets the new count in one message and the
// focus and selection on the rows that carry them now, whatever the view
// did to its states itself (Windows and Wine differ there). Only rows
// whose state really changes are visited; when many would, all states
// are dropped at once and the few that belong are set again.
void Recount(HWND list, const std::vector<int>& selected, int focus) {
  const int top = TopRow(list);
  SendMessageW(list, LVM_SETITEMCOUNT, g_offsets.size(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  try {
    ApplyStates(list, selected, focus, top);
  } catch (const std::bad_alloc&) {
    // No memory to work out the change: no state is better than a
    // state on the wrong row.
    DropAllStates(list, top);
  }
  InvalidateRect(list, nullptr, TRUE);
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
  const int n = static_cast<int>(offsets.size());
  // Everything that can fail for want of memory comes before the first
  // change, so that a failed insert leaves the rows as they were.
  g_offsets.reserve(g_offsets.size() + offsets.size());
  std::vector<int> selected;
  if (list) selected = SelectedRowsOf(list);
  const int focus = list ? FocusedRow(list) : -1;
  g_offsets.insert(g_offsets.begin() + row, offsets.begin(), offsets.end());
  if (!list) return;
  for (int& r : selected)
    if (r >= row) r += n;
  Recount(list, selected, focus >= row ? focus + n : focus);
}

void Erase(HWND list, const std::vector<int>& rows) {
  std::vector<int> selected;
  if (list) selected = SelectedRowsOf(list);
  int focus = list ? FocusedRow(list) : -1;
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
  // The states of the rows that stay move up past the rows that went; a
  // focus on a row that went passes to the row that takes its place, as
  // the list view does when a row is deleted.
  auto gone = [&](int r) {
    return static_cast<int>(std::lower_bound(rows.begin(), rows.end(), r) - rows.begin());
  };
  size_t out = 0;
  for (int r : selected)
    if (!std::binary_search(rows.begin(), rows.end(), r)) selected[out++] = r - gone(r);
  selected.resize(out);
  if (focus >= 0) focus = std::min(focus - gone(focus), Count() - 1);
  Recount(list, selected, focus);
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

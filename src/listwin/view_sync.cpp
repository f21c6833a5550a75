// Keeps the owner-data list view in step with the store's rows: their
// count, and the focus and selection on the rows that carry them.
#include "listwin/view_sync.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <new>
#include <vector>

#include "listwin/list_state.h"
#include "listwin/selection.h"
#include "store/row_observer.h"
#include "store/store.h"

namespace {

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
void DropAllStates(HWND list, int count, int top) {
  SendMessageW(list, LVM_SETITEMCOUNT, 0, LVSICF_NOINVALIDATEALL);
  SendMessageW(list, LVM_SETITEMCOUNT, count, LVSICF_NOINVALIDATEALL);
  ScrollBackTo(list, top);
}

void ApplyStates(HWND list, const std::vector<int>& selected, int focus, int count, int top) {
  constexpr size_t kFewRows = 256;  // fewer are cheaper unselected one by one
  // Far more rows selected than should be: no need to list them first.
  const size_t now = static_cast<size_t>(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
  std::vector<int> present, drop, add;
  if (now <= selected.size() + kFewRows) present = SelectedRowsOf(list);
  std::set_difference(present.begin(), present.end(), selected.begin(), selected.end(),
                      std::back_inserter(drop));
  if (drop.size() > kFewRows || now > selected.size() + kFewRows) {
    DropAllStates(list, count, top);
    drop.clear();
    present.clear();
  }
  std::set_difference(selected.begin(), selected.end(), present.begin(), present.end(),
                      std::back_inserter(add));
  for (int r : drop) SetState(list, r, 0, LVIS_SELECTED);
  for (int r : add) SetState(list, r, LVIS_SELECTED, LVIS_SELECTED);
  const int focused = FocusedRow(list);
  if (focus >= 0 && focused != focus) SetState(list, focus, LVIS_FOCUSED, LVIS_FOCUSED);
  if (focus < 0 && focused >= 0) SetState(list, focused, 0, LVIS_FOCUSED);
}

// Rows came or went: the view gets the new count in one message and the
// focus and selection on the rows that carry them now, whatever the view
// did to its states itself (Windows and Wine differ there). Only rows
// whose state really changes are visited; when many would, all states
// are dropped at once and the few that belong are set again.
void Recount(HWND list, const std::vector<int>& selected, int focus, int count) {
  const int top = TopRow(list);
  SendMessageW(list, LVM_SETITEMCOUNT, count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  try {
    ApplyStates(list, selected, focus, count, top);
  } catch (const std::bad_alloc&) {
    // No memory to work out the change: no state is better than a
    // state on the wrong row.
    DropAllStates(list, count, top);
  }
  InvalidateRect(list, nullptr, TRUE);
}


class ViewSync : public RowObserver {
 public:
  ViewSync(HWND view, ListRows& rows) : view_(view), rows_(rows) {}
  void RowsReplaced(int count) override {
    if (!Shown()) return ForgetStates();
    SendMessageW(view_, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), 0);
  }

  void RowsCleared() override {
    if (!Shown()) return ForgetStates();
    SendMessageW(view_, LVM_DELETEALLITEMS, 0, 0);
  }

  // The marks name rows too, and move with them here and nowhere else.
  void RowsInserted(int row, int n, int count) override {
    rows_.marks.RowsInserted(row, n);
    Resync(count, [&](std::vector<int>* selected, int* focus) {
      for (int& r : *selected)
        if (r >= row) r += n;
      if (*focus >= row) *focus += n;
    });
  }

  void RowsRemoved(const std::vector<int>& rows, int count) override {
    // From the bottom up, a run of rows at a time: each run is still
    // numbered as it was.
    for (size_t end = rows.size(); end > 0;) {
      size_t begin = end - 1;
      while (begin > 0 && rows[begin - 1] == rows[begin] - 1) --begin;
      rows_.marks.RowsDeleted(rows[begin], rows[end - 1]);
      end = begin;
    }
    // The states of the rows that stay move up past the rows that went; a
    // focus on a row that went passes to the row that takes its place, as
    // the list view does when a row is deleted.
    Resync(count, [&](std::vector<int>* selected, int* focus) {
      auto gone = [&](int r) {
        return static_cast<int>(std::lower_bound(rows.begin(), rows.end(), r) - rows.begin());
      };
      size_t out = 0;
      for (int r : *selected)
        if (!std::binary_search(rows.begin(), rows.end(), r)) (*selected)[out++] = r - gone(r);
      selected->resize(out);
      if (*focus >= 0) *focus = std::min(*focus - gone(*focus), count - 1);
    });
  }

  void RowRepointed(int row) override {
    if (Shown()) SendMessageW(view_, LVM_REDRAWITEMS, static_cast<WPARAM>(row), row);
  }

  void RowsReversed() override {
    rows_.marks.RowsReversed(tdb_rowcount(*rows_.store));
    if (!Shown()) return ForgetStates();  // as moved rows, without states
    InvalidateRect(view_, nullptr, TRUE);
  }

  // The states go with their rows, as the marks do.
  void RowsMoved(int first, const std::vector<int>& order) override {
    rows_.marks.RowsMoved(first, order);
    const int n = static_cast<int>(order.size());
    std::vector<int> now(order.size());
    for (int i = 0; i < n; ++i)
      now[static_cast<size_t>(order[static_cast<size_t>(i)] - first)] = first + i;
    auto place = [&](int r) {
      return r >= first && r < first + n ? now[static_cast<size_t>(r - first)] : r;
    };
    Resync(tdb_rowcount(*rows_.store), [&](std::vector<int>* selected, int* focus) {
      for (int& r : *selected) r = place(r);
      std::sort(selected->begin(), selected->end());
      *focus = place(*focus);
    });
  }

 private:
  bool Shown() const { return TheListWindow().showing == &rows_; }

  void ForgetStates() {
    rows_.selected.clear();
    rows_.focus = -1;
    rows_.top = 0;
  }

  // The view still holds the states as the rows were numbered before the
  // change; `move` renumbers them. A list not shown keeps them itself.
  template <typename Move>
  void Resync(int count, Move move) {
    if (!Shown()) {
      move(&rows_.selected, &rows_.focus);
      if (rows_.focus >= count) rows_.focus = count - 1;
      if (rows_.top >= count) rows_.top = count > 0 ? count - 1 : 0;
      return;
    }
    HWND view = view_;
    std::vector<int> selected;
    try {
      selected = SelectedRowsOf(view);
    } catch (const std::bad_alloc&) {
      DropAllStates(view, count, TopRow(view));
      InvalidateRect(view, nullptr, TRUE);
      return;
    }
    int focus = FocusedRow(view);
    move(&selected, &focus);
    Recount(view, selected, focus, count);
  }

  HWND view_;
  ListRows& rows_;  // whose marks move with the rows
};

}  // namespace

void KeepStates(HWND view, ListRows& rows) {
  try {
    rows.selected = SelectedRowsOf(view);
  } catch (const std::bad_alloc&) {
    rows.selected.clear();
  }
  rows.focus = FocusedRow(view);
  rows.top = TopRow(view);
}

void ShowStates(HWND view, const ListRows& rows) {
  const int count = tdb_rowcount(*rows.store);
  SendMessageW(view, LVM_SETITEMCOUNT, 0, LVSICF_NOINVALIDATEALL);
  SendMessageW(view, LVM_SETITEMCOUNT, count, LVSICF_NOINVALIDATEALL);
  Recount(view, rows.selected, rows.focus, count);
  ScrollBackTo(view, rows.top);
}

std::unique_ptr<RowObserver> StartViewSync(HWND view, ListRows& rows) {
  auto sync = std::make_unique<ViewSync>(view, rows);
  rows.store->SetObserver(sync.get());
  return sync;
}

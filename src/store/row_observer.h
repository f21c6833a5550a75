// The one party that shows the history's rows hears from the store what
// changed, after the store's index has changed. The store never touches
// the view itself: `view` is only the handle its caller named, passed on
// (null: the rows are shown nowhere, and nothing is told).
#pragma once

#include <windows.h>

#include <vector>

class RowObserver {
 public:
  virtual ~RowObserver() = default;
  // Every row was replaced (a load): `count` rows, none with a state.
  virtual void RowsReplaced(HWND view, int count) = 0;
  // The history was emptied.
  virtual void RowsCleared(HWND view) = 0;
  // `n` rows were inserted at `row`; the rows from there on moved down
  // with their states. `count` rows now.
  virtual void RowsInserted(HWND view, int row, int n, int count) = 0;
  // The rows, ascending and numbered as they were, were removed; the rows
  // below moved up with their states. `count` rows now.
  virtual void RowsRemoved(HWND view, const std::vector<int>& rows, int count) = 0;
  // The row now shows another record.
  virtual void RowRepointed(HWND view, int row) = 0;
  // The rows were turned around; their states are the caller's.
  virtual void RowsReversed(HWND view) = 0;
};

// The observer told of every change from now on; null for none.
void SetRowObserver(RowObserver* observer);

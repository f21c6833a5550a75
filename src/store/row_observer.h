// The one party that shows a store's rows hears from the store what
// changed, after the store's index has changed. The store never touches
// a view itself: the observer knows what it shows them in.
#pragma once

#include <vector>

class RowObserver {
 public:
  virtual ~RowObserver() = default;
  // Every row was replaced (a load): `count` rows, none with a state.
  virtual void RowsReplaced(int count) = 0;
  // The list was emptied.
  virtual void RowsCleared() = 0;
  // `n` rows were inserted at `row`; the rows from there on moved down
  // with their states. `count` rows now.
  virtual void RowsInserted(int row, int n, int count) = 0;
  // The rows, ascending and numbered as they were, were removed; the rows
  // below moved up with their states. `count` rows now.
  virtual void RowsRemoved(const std::vector<int>& rows, int count) = 0;
  // The row now shows another record.
  virtual void RowRepointed(int row) = 0;
  // The rows were turned around; their states are the caller's.
  virtual void RowsReversed() = 0;
  // Rows changed places among themselves: the row at first + i is the one
  // that was at order[i]; every other row stayed. Their states move with
  // them.
  virtual void RowsMoved(int first, const std::vector<int>& order) = 0;
};

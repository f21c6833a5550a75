// The 52 marks a-z and A-Z of the command language: each names a row
// index, or -1 when it is not set. Marks are row numbers, so the table
// follows the rows whenever rows are deleted, inserted or turned around;
// a history replaced as a whole (cleared, restored) unsets them all.
#pragma once

#include <array>
#include <vector>

// The table index of a mark's name: a-z 0 to 25, A-Z 26 to 51, -1 for any
// other character.
int MarkIndex(char name);

class MarkTable {
 public:
  MarkTable() { Clear(); }

  void Clear();  // every mark unset

  // The mark's row, -1 when the character names no mark or it is unset.
  int Get(char name) const;
  // The same in a history of `rows` rows: a mark at or past the end names
  // no entry and counts as unset.
  int Get(char name, int rows) const;
  // Stores the row (-1 unsets); false, storing nothing, for a character
  // that names no mark.
  bool Set(char name, int row);

  // Rows first to last (inclusive) were deleted.
  void RowsDeleted(int first, int last);
  // count rows were inserted, the first of them at row `at`.
  void RowsInserted(int at, int count);
  // The order of all `rows` rows was turned around.
  void RowsReversed(int rows);
  // The row at first + i is the one that was at order[i]; the marks on
  // those rows go with them.
  void RowsMoved(int first, const std::vector<int>& order);

 private:
  std::array<int, 52> rows_;
};

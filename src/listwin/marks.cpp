#include "listwin/marks.h"

#include <cstddef>

int MarkIndex(char name) {
  if (name >= 'a' && name <= 'z') return name - 'a';
  if (name >= 'A' && name <= 'Z') return 26 + (name - 'A');
  return -1;
}

void MarkTable::Clear() { rows_.fill(-1); }

int MarkTable::Get(char name) const {
  const int i = MarkIndex(name);
  return i < 0 ? -1 : rows_[static_cast<std::size_t>(i)];
}

int MarkTable::Get(char name, int rows) const {
  const int row = Get(name);
  return row < rows ? row : -1;
}

bool MarkTable::Set(char name, int row) {
  const int i = MarkIndex(name);
  if (i < 0) return false;
  rows_[static_cast<std::size_t>(i)] = row;
  return true;
}

void MarkTable::RowsDeleted(int first, int last) {
  for (int& m : rows_) {
    if (m < 0 || m < first) continue;
    m = m <= last ? -1 : m - (last - first + 1);
  }
}


void MarkTable::RowsInserted(int at, int count) {
  for (int& m : rows_)
    if (m >= 0 && m >= at) m += count;
}

void MarkTable::RowsReversed(int rows) {
  for (int& m : rows_)
    if (m >= 0) m = m < rows ? rows - 1 - m : -1;
}

void MarkTable::RowsMoved(int first, const std::vector<int>& order) {
  for (int& m : rows_) {
    if (m < first || m >= first + static_cast<int>(order.size())) continue;
    for (size_t i = 0; i < order.size(); ++i) {
      if (order[i] == m) {
        m = first + static_cast<int>(i);
        break;
      }
    }
  }
}

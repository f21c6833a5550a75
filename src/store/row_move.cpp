#include "store/row_move.h"

#include <cstddef>
#include <utility>

bool MoveOrder(const std::vector<int> &rows, int by, int count, int *first,
               std::vector<int> *order) {
  if (rows.empty() || (by != -1 && by != 1))
    return false;
  if (rows.front() + by < 0 || rows.back() + by >= count ||
      rows.back() >= count)
    return false;
  // Only the stretch from the row passed first to the last row moved
  // changes.
  *first = by < 0 ? rows.front() - 1 : rows.front();
  const int last = by < 0 ? rows.back() : rows.back() + 1;
  order->resize(static_cast<std::size_t>(last - *first + 1));
  for (std::size_t i = 0; i < order->size(); ++i)
    (*order)[i] = *first + static_cast<int>(i);
  auto swapPlaces = [&](int a, int b) {
    std::swap((*order)[static_cast<std::size_t>(a - *first)],
              (*order)[static_cast<std::size_t>(b - *first)]);
  };
  // Moving up, each row changes places with the row above it, top first,
  // so that a run moves as one; moving down the same from the bottom.
  if (by < 0) {
    for (int row : rows)
      swapPlaces(row - 1, row);
  } else {
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
      swapPlaces(*it, *it + 1);
  }
  return true;
}

#include "listwin/target_rows.h"

namespace {

// A count of 0 or 1 asks for exactly one row; any other count may run
// out at the end of the list.
bool RunsOut(long long count) { return count != 0 && count != 1; }

long long Step(long long count) { return count == 0 ? 1 : count; }

}  // namespace

// Sums are taken in long long: a count can be as large as an int holds.
int TargetRowDown(long long count, int cursor, int rows) {
  if (rows <= 0) return -1;
  const long long target = cursor + Step(count);
  if (target < rows) return static_cast<int>(target);
  return RunsOut(count) ? rows - 1 : -1;
}

int TargetRowUp(long long count, int cursor, int rows) {
  if (rows <= 0) return -1;
  const long long target = cursor - Step(count);
  if (target >= 0) return static_cast<int>(target);
  return RunsOut(count) ? 0 : -1;
}

int TargetRowGo(long long count, int rows) {
  if (rows <= 0) return -1;
  if (count <= 0 || count - 1 >= rows) return rows - 1;
  return static_cast<int>(count - 1);
}

int TargetRowCountEnd(long long count, int cursor, int rows) {
  if (cursor < 0) return -1;
  if (count <= 0) return cursor;
  const long long last = cursor + count - 1;
  return static_cast<int>(last < rows - 1 ? last : rows - 1);
}

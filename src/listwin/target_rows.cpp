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

namespace {

constexpr int kPage15a = 13;
constexpr int kHalfPage15a = 7;
constexpr int kBackCursor15a = 12;  // Ctrl+B puts the cursor this far above it
constexpr int kMinRowsForBack15a = 14;

int AtMost(long long value, int limit) { return static_cast<int>(value < limit ? value : limit); }
int AtLeastZero(long long value) { return static_cast<int>(value > 0 ? value : 0); }

}  // namespace

PageMove PageForward(int top, int perPage, int rows) {
  const int r = AtMost(static_cast<long long>(top) + perPage - 1, rows - 1);
  return {true, r, r};
}

PageMove HalfPageDown(int top, int cursor, long long step, int rows) {
  return {true, AtMost(top + step, rows - 1), AtMost(cursor + step, rows - 1)};
}

PageMove PageBack(int top, int perPage, int rows) {
  if (rows < perPage) return {false, 0, 0};
  const int a = AtLeastZero(static_cast<long long>(top) + 1 - perPage);
  const long long b = static_cast<long long>(a) + perPage - 1;
  if (b < 0) return {false, 0, 0};
  return {true, a, AtMost(b, rows - 1)};
}

PageMove HalfPageUp(int top, int cursor, long long step) {
  return {true, AtLeastZero(top - step), AtLeastZero(cursor - step)};
}

PageMove PageForward15a(int top, int rows) { return PageForward(top, kPage15a + 1, rows); }

PageMove HalfPageDown15a(int top, int cursor, int rows) {
  return HalfPageDown(top, cursor, kHalfPage15a, rows);
}

PageMove PageBack15a(int top, int cursor, int rows) {
  if (rows < kMinRowsForBack15a) return {false, 0, 0};
  const long long b = static_cast<long long>(cursor) - kBackCursor15a;
  if (b < 0) return {false, 0, 0};
  return {true, AtLeastZero(static_cast<long long>(top) - kPage15a), AtMost(b, rows - 1)};
}

PageMove HalfPageUp15a(int top, int cursor) { return HalfPageUp(top, cursor, kHalfPage15a); }

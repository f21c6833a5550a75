// Where a cursor motion or a doubled operator of the command language
// lands. Pure arithmetic on three numbers, so that the rules can be
// checked without a list view:
//   count  - the number typed in front of the command, 0 when none;
//   cursor - the cursor row, -1 when no row has the cursor;
//   rows   - the number of rows in the list.
// Every function returns a row index, or -1 when the motion has no
// target (the command is then refused).
#pragma once

// j: count rows down. A count that passes the last row stops there, but
// without a count (or with a count of 1) j on the last row is refused.
int TargetRowDown(long long count, int cursor, int rows);

// k: count rows up; stops at row 0 the same way.
int TargetRowUp(long long count, int cursor, int rows);

// G: the row numbered count (1 is the first), at most the last row;
// without a count the last row.
int TargetRowGo(long long count, int rows);

// The last row of a doubled operator (dd, yy, vv, ss): count rows from the
// cursor row, the cursor row itself included, at most the last row.
int TargetRowCountEnd(long long count, int cursor, int rows);

// Paging: where the list scrolls to and where the cursor goes. `top` is the
// first visible row, `perPage` the rows shown at once, `step` the half-page
// step (or the count given). moves is false when the command does nothing.
struct PageMove {
  bool moves;
  int scroll;  // the row to scroll to the top
  int cursor;
};

// The 1.9 commands: Ctrl+F a page forward, Ctrl+D `step` rows down,
// Ctrl+B a page back (nothing while the list is shorter than a page),
// Ctrl+U `step` rows up.
PageMove PageForward(int top, int perPage, int rows);
PageMove HalfPageDown(int top, int cursor, long long step, int rows);
PageMove PageBack(int top, int perPage, int rows);
PageMove HalfPageUp(int top, int cursor, long long step);

// The 1.5a commands, whose pages are always 13 rows (7 for a half page)
// whatever the window shows.
PageMove PageForward15a(int top, int rows);
PageMove HalfPageDown15a(int top, int cursor, int rows);
PageMove PageBack15a(int top, int cursor, int rows);
PageMove HalfPageUp15a(int top, int cursor);

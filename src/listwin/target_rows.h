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

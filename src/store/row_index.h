// The index of the history: for every row of the list, the offset of its
// record in the working file, and the bytes those records would take in
// the data file. The list view itself holds no rows, only their number
// and the cursor and selection states (it is an owner-data list view); it
// asks for a row's label when it draws the row, and the label is read from
// the record then. The store's operations keep the index and the view in
// step.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "store/store.h"

namespace row_index {

// The working file the rows point into (labels are read from it), and
// the bytes its rows' records take; Close forgets both.
void Open(HANDLE work, std::int64_t bytes);
void Close();
HANDLE Work();
// The records of the rows of `work` gained or lost `bytes`; other files
// are not counted.
void AddBytes(HANDLE work, std::int64_t bytes);
std::int64_t Bytes();

int Count();
// The row's record offset; 0 for a row that does not exist.
std::int32_t Offset(int row);
const std::vector<std::int32_t>& Offsets();

// Replaces every row (a load); the view gets the new count and no states.
void Assign(HWND list, std::vector<std::int32_t> offsets);
// Inserts rows for `offsets` at `row` (an index past the end: at the
// end), in their order. The view's cursor and selection stay on the rows
// they were on.
void Insert(HWND list, int row, const std::vector<std::int32_t>& offsets);
// Removes the rows, given in ascending order; the rows below move up with
// their states.
void Erase(HWND list, const std::vector<int>& rows);
// Points a row at another record and redraws it.
void Repoint(HWND list, int row, std::int32_t offset);
void Clear(HWND list);
// Turns the order around; the view's states are left to the caller.
void Reverse(HWND list);

// The row's label: the first 100 bytes of its text, zero-terminated, and
// for an entry that keeps a Unicode copy the start of that copy in UTF-8
// (at least 100 characters where it has them), else "". Reading it
// leaves the working file's position as it was.
void Label(int row, char out[101], std::string* unicode);

// Visits the rows' whole texts from `start` on, forward or backward and
// round the end, each once (see tdb_searchrows).
int Search(int start, bool forward, const RowSearch& search);

// The first row from `start` on (going round to the top when `wrap`)
// whose label `match` accepts, given as Label gives it; -1 for none. The
// labels are read through large blocks of the working file, whose
// position is left as it was.
int Find(int start, bool wrap,
         bool (*match)(const char* label, const std::string& unicode, void* context),
         void* context);

}  // namespace row_index

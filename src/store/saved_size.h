// The running total behind tdb_savedsize: the bytes of the records that
// the rows of the open working file would write to the data file. Only
// the store's own operations change it.
#pragma once

#include <windows.h>

#include <cstdint>

namespace saved_size {

// A working file was opened (or emptied) whose rows' records take `bytes`.
void Open(HANDLE work, std::int64_t bytes);
// The working file was closed: nothing is counted any more.
void Close();
// Rows of `work` gained or lost `bytes` of records; other files are not
// counted.
void Add(HANDLE work, std::int64_t bytes);
// The working file counted, null when none is open.
HANDLE Work();
std::int64_t Bytes();

}  // namespace saved_size

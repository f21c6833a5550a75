// The put buffer: the record offsets of the last copy or deletion, from
// the top row to the bottom row, so that put can insert those entries
// again. Records never change in place, so an offset keeps naming the
// same text for the rest of the run.
#include "base/scoped_win.h"
#include "store/store.h"

namespace {

HGLOBAL g_block = nullptr;
int g_capacity = 0;
int g_count = 0;
// The last allocation asked for slots and got none.
bool g_allocFailed = false;

}  // namespace

int tdb_bufalloc(int n) {
  g_block = n > 0 ? GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT,
                                static_cast<SIZE_T>(n) * sizeof(std::int32_t))
                  : nullptr;
  g_capacity = g_block ? n : 0;  // a failed allocation leaves an empty buffer
  g_allocFailed = n > 0 && !g_block;
  g_count = 0;
  return 0;
}

int tdb_bufadd(std::int32_t offset) {
  if (g_count + 1 > g_capacity) {
    g_tdbError = g_allocFailed ? kErrNoMemory : kErrBufFull;
    return -1;
  }
  ScopedGlobalLock<std::int32_t> slots(g_block);
  if (!slots.Get()) {
    g_tdbError = kErrNoMemory;
    return -1;
  }
  slots.Get()[g_count] = offset;
  ++g_count;
  return 0;
}

int tdb_bufget(int index, std::int32_t* offset) {
  // Only filled slots can be read: a filler that stopped part-way leaves
  // zeros behind it, which would name whatever record lies at offset 0.
  if (index < 0 || index >= g_count) {
    g_tdbError = kErrBufIndex;
    return -1;
  }
  const ScopedGlobalLock<std::int32_t> slots(g_block);
  if (!slots.Get()) {
    g_tdbError = kErrBufIndex;
    return -1;
  }
  *offset = slots.Get()[index];
  return 0;
}

int tdb_bufsize() { return g_count; }

int tdb_buffree() {
  if (g_capacity != 0 || g_block) GlobalFree(g_block);
  g_block = nullptr;
  g_capacity = 0;
  g_count = 0;
  g_allocFailed = false;
  return 0;
}

#include "store/saved_size.h"

namespace saved_size {

namespace {

HANDLE g_work = nullptr;
std::int64_t g_bytes = 0;

}  // namespace

void Open(HANDLE work, std::int64_t bytes) {
  g_work = work;
  g_bytes = bytes;
}

void Close() { Open(nullptr, 0); }

void Add(HANDLE work, std::int64_t bytes) {
  if (work && work == g_work) g_bytes += bytes;
}

HANDLE Work() { return g_work; }

std::int64_t Bytes() { return g_bytes; }

}  // namespace saved_size

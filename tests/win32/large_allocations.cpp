#include "win32/large_allocations.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t kLarge = 64 * 1024;
constexpr int kSlots = 64;

std::atomic<std::size_t> g_failFrom{0};  // 0: none fails
std::atomic<bool> g_measuring{false};
struct Block {
  void* at;
  std::size_t bytes;
};
Block g_blocks[kSlots];  // the large blocks held, while measuring
std::size_t g_held = 0, g_peak = 0;

void Note(void* at, std::size_t bytes) {
  for (Block& b : g_blocks)
    if (!b.at) {
      b = {at, bytes};
      g_held += bytes;
      if (g_held > g_peak) g_peak = g_held;
      return;
    }
  std::abort();  // more large blocks at once than a test here makes
}

void Forget(void* at) {
  for (Block& b : g_blocks)
    if (b.at == at) {
      g_held -= b.bytes;
      b = {nullptr, 0};
      return;
    }
}

}  // namespace

void* operator new(std::size_t bytes) {
  const std::size_t failFrom = g_failFrom;
  if (failFrom != 0 && bytes >= failFrom) throw std::bad_alloc();
  void* at = std::malloc(bytes ? bytes : 1);
  if (!at) throw std::bad_alloc();
  if (g_measuring && bytes >= kLarge) Note(at, bytes);
  return at;
}

void* operator new[](std::size_t bytes) { return operator new(bytes); }

void operator delete(void* at) noexcept {
  if (g_measuring && at) Forget(at);
  std::free(at);
}

void operator delete[](void* at) noexcept { operator delete(at); }
void operator delete(void* at, std::size_t) noexcept { operator delete(at); }
void operator delete[](void* at, std::size_t) noexcept { operator delete(at); }

LargeAllocationsFail::LargeAllocationsFail(std::size_t bytes) { g_failFrom = bytes; }
LargeAllocationsFail::~LargeAllocationsFail() { g_failFrom = 0; }

LargeAllocationPeak::LargeAllocationPeak() {
  for (Block& b : g_blocks) b = {nullptr, 0};
  g_held = g_peak = 0;
  g_measuring = true;
}
LargeAllocationPeak::~LargeAllocationPeak() { g_measuring = false; }
std::size_t LargeAllocationPeak::Peak() const { return g_peak; }

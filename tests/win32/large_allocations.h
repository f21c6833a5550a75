// The test program's operator new, with a say over large allocations: a
// test makes them fail, as they do in a 32-bit process whose address
// space is used up, or measures how many bytes of them code holds at once.
#pragma once

#include <cstddef>

// While it lives, every allocation of `bytes` or more throws
// std::bad_alloc.
class LargeAllocationsFail {
 public:
  explicit LargeAllocationsFail(std::size_t bytes);
  ~LargeAllocationsFail();
  LargeAllocationsFail(const LargeAllocationsFail&) = delete;
  LargeAllocationsFail& operator=(const LargeAllocationsFail&) = delete;
};

// While it lives, the most bytes held at once in allocations of 64 KB or
// more made since it began (on this thread's work; one at a time).
class LargeAllocationPeak {
 public:
  LargeAllocationPeak();
  ~LargeAllocationPeak();
  LargeAllocationPeak(const LargeAllocationPeak&) = delete;
  LargeAllocationPeak& operator=(const LargeAllocationPeak&) = delete;
  std::size_t Peak() const;
};

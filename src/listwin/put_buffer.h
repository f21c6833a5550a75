// The put buffer: the entries of the last copy or deletion, from the top
// row to the bottom row, so that put can insert them again: their
// records and the store they are in. Records never change in place, so
// an offset keeps naming the same text while that store's working file
// lasts; once it is replaced (cleared, restored, closed) the buffer
// names nothing.
#pragma once

#include <cstdint>
#include <vector>

class Store;

class PutBuffer {
 public:
  void Fill(const Store& store, std::vector<std::int32_t> records);
  void Clear();
  bool Empty() const { return Records().empty(); }
  // The store the records are in; null when there are none.
  const Store* From() const;
  // The records in their order; none once their working file went.
  const std::vector<std::int32_t>& Records() const;

 private:
  const Store* store_ = nullptr;
  std::uint32_t generation_ = 0;
  std::vector<std::int32_t> records_;
};

// The program's one put buffer, shared by the lists, so that entries
// taken from one list can be put into another.
PutBuffer& ThePutBuffer();

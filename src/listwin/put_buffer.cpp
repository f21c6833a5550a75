#include "listwin/put_buffer.h"

#include <utility>

#include "store/store.h"

void PutBuffer::Fill(const Store& store, std::vector<std::int32_t> records) {
  store_ = &store;
  generation_ = store.Generation();
  records_ = std::move(records);
}

void PutBuffer::Clear() {
  store_ = nullptr;
  records_.clear();
}

const Store* PutBuffer::From() const {
  return store_ && store_->Generation() == generation_ && !records_.empty() ? store_ : nullptr;
}

const std::vector<std::int32_t>& PutBuffer::Records() const {
  static const std::vector<std::int32_t> kNone;
  return From() ? records_ : kNone;
}

PutBuffer& ThePutBuffer() {
  static PutBuffer buffer;
  return buffer;
}

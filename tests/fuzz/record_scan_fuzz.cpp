// Feeds arbitrary bytes to the record scanner as a data file and as a
// working file tail. Whatever the bytes, the scanner must stay inside
// them (ASan), find only whole, ordered, non-overlapping records, call a
// file well-formed only when it is exactly count + records, and find
// every record of a file that really is well-formed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "store/record_format.h"
#include "store/record_scan.h"

namespace {

class Bytes : public RecordSource {
 public:
  Bytes(const std::uint8_t* data, size_t size) : data_(data), size_(size) {}
  std::int64_t Size() const override { return static_cast<std::int64_t>(size_); }
  bool ReadInt32(std::int64_t offset, std::int32_t* value) override {
    if (offset < 0 || static_cast<std::uint64_t>(offset) + 4 > size_) return false;
    *value = record_format::DecodeInt32(data_ + offset);
    return true;
  }

 private:
  const std::uint8_t* data_;
  size_t size_;
};

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckRecords(const std::vector<RecordRef>& records, std::int64_t from, std::int64_t size) {
  std::int64_t at = from;
  for (const RecordRef& r : records) {
    Check(r.offset == at);  // contiguous, in order
    Check(r.length >= 0);
    at = r.offset + 4 + r.length;
    Check(at <= size);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  // The exact-size copy lets ASan see any read past the end.
  std::vector<std::uint8_t> copy(data, data + size);
  Bytes bytes(copy.data(), copy.size());
  const DataFileScan scan = ScanDataFile(bytes);
  const std::int64_t n = static_cast<std::int64_t>(size);
  CheckRecords(scan.records, 4, n);
  if (!scan.damaged) {
    std::int32_t count = 0;
    Check(bytes.ReadInt32(0, &count));
    Check(count == static_cast<std::int32_t>(scan.records.size()));
    const std::int64_t end = scan.records.empty()
                                 ? 4
                                 : scan.records.back().offset + 4 + scan.records.back().length;
    Check(end == n);
  }

  // Rebuilding a well-formed file from the records found must scan back
  // to the same records, undamaged.
  std::vector<std::uint8_t> rebuilt(4);
  record_format::EncodeInt32(static_cast<std::int32_t>(scan.records.size()), rebuilt.data());
  for (const RecordRef& r : scan.records)
    rebuilt.insert(rebuilt.end(), copy.begin() + r.offset, copy.begin() + r.offset + 4 + r.length);
  Bytes again(rebuilt.data(), rebuilt.size());
  const DataFileScan second = ScanDataFile(again);
  Check(!second.damaged);
  Check(second.records.size() == scan.records.size());

  if (size >= 1) {
    const std::int64_t from = data[0] % (size + 1);
    CheckRecords(ScanAppendedRecords(bytes, from), from, n);
  }
  return 0;
}

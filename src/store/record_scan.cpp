#include "store/record_scan.h"

#include <cstddef>

#include "store/record_format.h"

namespace {

// Collects whole records from `offset` on, at most `limit` of them.
// Returns the end of the last whole record.
std::int64_t CollectRecords(RecordSource& source, std::int64_t offset, std::int64_t limit,
                            std::vector<RecordRef>* records) {
  const std::int64_t size = source.Size();
  while (static_cast<std::int64_t>(records->size()) < limit &&
         record_format::IsAddressable(offset)) {
    std::int32_t length = 0;
    if (offset + record_format::kFieldSize > size || !source.ReadInt32(offset, &length)) break;
    const std::int64_t next = record_format::NextRecord(offset, length, size);
    if (next < 0) break;
    records->push_back({offset, length});
    offset = next;
  }
  return offset;
}

}  // namespace

DataFileScan ScanDataFile(RecordSource& source) {
  DataFileScan scan;
  const std::int64_t size = source.Size();
  std::int32_t count = 0;
  if (size < record_format::kFirstRecord || !source.ReadInt32(0, &count)) {
    scan.damaged = true;
    return scan;
  }
  // Every record takes at least its length field, which bounds what any
  // count can ask for. Room is reserved for the common case only; a file
  // that claims more grows the list with the records really found.
  const std::int64_t limit =
      count < 0 ? (size - record_format::kFirstRecord) / record_format::kFieldSize : count;
  const std::int64_t kReserveAtMost = 1 << 20;
  const std::int64_t possible = record_format::PossibleRecords(count < 0 ? INT32_MAX : count, size);
  scan.records.reserve(static_cast<std::size_t>(possible < kReserveAtMost ? possible : kReserveAtMost));
  const std::int64_t end = CollectRecords(source, record_format::kFirstRecord, limit, &scan.records);
  scan.damaged = count < 0 || static_cast<std::int64_t>(scan.records.size()) != count || end != size;
  return scan;
}

std::vector<RecordRef> ScanAppendedRecords(RecordSource& source, std::int64_t from) {
  std::vector<RecordRef> records;
  const std::int64_t end = CollectRecords(source, from, INT64_MAX, &records);
  // A file extended but never written (a power loss) ends in zero bytes,
  // which read as empty records: a run of them reaching the end (but for
  // a piece too short for a length field) is that, not texts. An empty
  // entry the user really made last goes with it; it held nothing.
  if (source.Size() - end < record_format::kFieldSize)
    while (!records.empty() && records.back().length == 0) records.pop_back();
  return records;
}

// Finding the whole records of a data file or of the tail of a working
// file, trusting nothing the bytes say: the count is checked against the
// records really present and every length against the bytes that remain.
// No file access here: the bytes come from a RecordSource.
#pragma once

#include <cstdint>
#include <vector>

struct RecordRef {
  std::int64_t offset;  // of the record's length field
  std::int32_t length;  // of its text
};

class RecordSource {
 public:
  virtual ~RecordSource() = default;
  virtual std::int64_t Size() const = 0;
  // The 4-byte integer at the offset; false when it cannot be read.
  virtual bool ReadInt32(std::int64_t offset, std::int32_t* value) = 0;
};

struct DataFileScan {
  std::vector<RecordRef> records;  // the whole records, in file order
  // Anything about the file was not as it should be: the count did not
  // match, a record was cut or impossible, or bytes followed the last
  // record. The records found are still good.
  bool damaged = false;
};

// A data file: the count at offset 0, then the records. With a count
// that cannot be right (negative), every whole record present is taken;
// otherwise at most `count` records.
DataFileScan ScanDataFile(RecordSource& source);

// The records appended to a working file between `from` and its end, up
// to the first record that is not whole (a crash can cut the last one).
// A tail of zero bytes is no run of empty records: it is left out.
std::vector<RecordRef> ScanAppendedRecords(RecordSource& source, std::int64_t from);

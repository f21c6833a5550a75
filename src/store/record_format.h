// The history data file's format, without any file access: a 4-byte
// record count, then per record a 4-byte length and that many bytes of
// text. All integers are 32-bit signed little-endian. A record's offset
// (the position of its length field) is a 32-bit signed value too, so
// no record can start beyond 2,147,483,647.
#pragma once

#include <cstdint>

namespace record_format {

constexpr std::int64_t kFieldSize = 4;
constexpr std::int64_t kFirstRecord = 4;  // after the count
constexpr std::int64_t kMaxOffset = INT32_MAX;

void EncodeInt32(std::int32_t value, unsigned char out[4]);
std::int32_t DecodeInt32(const unsigned char in[4]);

// How many rows a file of file_size bytes that claims `count` records can
// really hold: every record takes at least its length field.
std::int64_t PossibleRecords(std::int32_t count, std::int64_t file_size);

// For the record whose length field at `offset` holds `length`: the
// offset of the record after it, or -1 when this record is not whole
// within file_size bytes (a negative length, or text cut off by the end
// of the file).
std::int64_t NextRecord(std::int64_t offset, std::int32_t length, std::int64_t file_size);

// Whether a record can start at `offset` and still be addressed by the
// 32-bit record offsets the rows carry.
bool IsAddressable(std::int64_t offset);

// Whether a record of `length` text bytes can be appended to a working
// file that ends at `end`: the working file must stay within the 32-bit
// offsets, or records appended later could not be addressed and a
// wrapped offset would point into other records.
bool FitsInWorkingFile(std::int64_t end, std::uint64_t length);

// Whether a data file of `size` bytes can be loaded again: it becomes the
// working file, whose records must all lie within the 32-bit offsets.
bool FitsInDataFile(std::int64_t size);

}  // namespace record_format

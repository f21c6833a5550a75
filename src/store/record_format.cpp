#include "store/record_format.h"

namespace record_format {

void EncodeInt32(std::int32_t value, unsigned char out[4]) {
  std::uint32_t u = static_cast<std::uint32_t>(value);
  out[0] = static_cast<unsigned char>(u);
  out[1] = static_cast<unsigned char>(u >> 8);
  out[2] = static_cast<unsigned char>(u >> 16);
  out[3] = static_cast<unsigned char>(u >> 24);
}

std::int32_t DecodeInt32(const unsigned char in[4]) {
  std::uint32_t u = static_cast<std::uint32_t>(in[0]) | static_cast<std::uint32_t>(in[1]) << 8 |
                    static_cast<std::uint32_t>(in[2]) << 16 |
                    static_cast<std::uint32_t>(in[3]) << 24;
  return static_cast<std::int32_t>(u);
}

std::int64_t PossibleRecords(std::int32_t count, std::int64_t file_size) {
  if (count <= 0 || file_size <= kFirstRecord) return 0;
  std::int64_t room = (file_size - kFirstRecord) / kFieldSize;
  return count < room ? count : room;
}

std::int64_t NextRecord(std::int64_t offset, std::int32_t length, std::int64_t file_size) {
  if (length < 0 || offset < 0) return -1;
  std::int64_t next = offset + kFieldSize + length;
  return next <= file_size ? next : -1;
}

bool IsAddressable(std::int64_t offset) { return offset >= 0 && offset <= kMaxOffset; }

bool FitsInWorkingFile(std::int64_t end, std::uint64_t length) {
  if (end < 0 || length > static_cast<std::uint64_t>(kMaxOffset)) return false;
  return end + kFieldSize + static_cast<std::int64_t>(length) <= kMaxOffset;
}

bool FitsInDataFile(std::int64_t size) { return size >= 0 && size <= kMaxOffset; }

}  // namespace record_format

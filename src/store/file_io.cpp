#include "store/file_io.h"

#include <cstring>

#include "store/record_format.h"

namespace store_io {

std::string DataName(const char* base) { return std::string(base) + ".dat"; }
std::string WorkName(const char* base) { return std::string(base) + "work.dat"; }
std::string BackupName(const char* base) { return std::string(base) + "dat.bak"; }

bool Exists(const std::string& name) {
  return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::uint32_t Read(HANDLE file, void* buffer, std::uint32_t n) {
  DWORD got = 0;
  if (!file || !ReadFile(file, buffer, n, &got, nullptr)) return 0;
  return got;
}

bool Write(HANDLE file, const void* data, std::uint32_t n) {
  DWORD done = 0;
  return file && WriteFile(file, data, n, &done, nullptr) && done == n;
}

bool SeekTo(HANDLE file, std::int64_t offset) {
  LARGE_INTEGER to;
  to.QuadPart = offset;
  return file && SetFilePointerEx(file, to, nullptr, FILE_BEGIN);
}

std::int64_t SeekEnd(HANDLE file) {
  LARGE_INTEGER zero, pos;
  zero.QuadPart = 0;
  if (!file || !SetFilePointerEx(file, zero, &pos, FILE_END)) return -1;
  return pos.QuadPart;
}

std::int64_t Size(HANDLE file) {
  LARGE_INTEGER size;
  if (!file || !GetFileSizeEx(file, &size)) return -1;
  return size.QuadPart;
}

bool ReadInt32(HANDLE file, std::int32_t* value) {
  unsigned char b[4];
  if (Read(file, b, 4) != 4) return false;
  *value = record_format::DecodeInt32(b);
  return true;
}

bool WriteInt32(HANDLE file, std::int32_t value) {
  unsigned char b[4];
  record_format::EncodeInt32(value, b);
  return Write(file, b, 4);
}

void BufferedWriter::Put(const void* data, std::uint32_t n) {
  const char* p = static_cast<const char*>(data);
  if (n >= kCapacity) {  // large texts go straight through
    Flush();
    ok_ = Write(file_, p, n) && ok_;
    return;
  }
  if (used_ + n > kCapacity) Flush();
  std::memcpy(buffer_ + used_, p, n);
  used_ += n;
}

void BufferedWriter::PutInt32(std::int32_t value) {
  unsigned char b[4];
  record_format::EncodeInt32(value, b);
  Put(b, 4);
}

bool BufferedWriter::Flush() {
  if (used_ > 0) {
    ok_ = Write(file_, buffer_, used_) && ok_;
    used_ = 0;
  }
  return ok_;
}

}  // namespace store_io

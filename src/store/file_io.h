// File helpers shared by the store's operations. Offsets in the working
// file are 64-bit here; the store's record offsets are the 32-bit values
// the rows carry.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace store_io {

// "<base>.dat", "<base>work.dat", "<base>dat.bak".
std::string DataName(const char* base);
std::string WorkName(const char* base);
std::string BackupName(const char* base);

bool Exists(const std::string& name);

// Returns the number of bytes read (0 on any failure).
std::uint32_t Read(HANDLE file, void* buffer, std::uint32_t n);
bool Write(HANDLE file, const void* data, std::uint32_t n);
bool SeekTo(HANDLE file, std::int64_t offset);
// Moves to the end and returns that position, or -1.
std::int64_t SeekEnd(HANDLE file);
std::int64_t Size(HANDLE file);

// The 4-byte little-endian integers of the file format.
bool ReadInt32(HANDLE file, std::int32_t* value);
bool WriteInt32(HANDLE file, std::int32_t value);

// Collects small writes into large ones: a save of a large history would
// otherwise cost two system calls per record.
class BufferedWriter {
 public:
  explicit BufferedWriter(HANDLE file) : file_(file) {}
  ~BufferedWriter() { Flush(); }
  BufferedWriter(const BufferedWriter&) = delete;
  BufferedWriter& operator=(const BufferedWriter&) = delete;

  void Put(const void* data, std::uint32_t n);
  void PutInt32(std::int32_t value);
  // Returns false if any write so far has failed.
  bool Flush();

 private:
  static constexpr std::uint32_t kCapacity = 1u << 16;
  HANDLE file_;
  std::uint32_t used_ = 0;
  bool ok_ = true;
  char buffer_[kCapacity];
};

}  // namespace store_io

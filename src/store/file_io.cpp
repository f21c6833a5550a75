#include "store/file_io.h"

#include <algorithm>
#include <cstring>

#include "store/record_format.h"

namespace store_io {

namespace {

long g_failWrite = 0;  // the n-th write from now fails; 0: none
long g_failRead = 0;   // the same for reads

}  // namespace

std::string DataName(const char* base) { return std::string(base) + ".dat"; }
std::string WorkName(const char* base) { return std::string(base) + "work.dat"; }
std::string BackupName(const char* base) { return std::string(base) + "dat.bak"; }

bool Exists(const std::string& name) {
  return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string UnusedName(const std::string& stem, const std::string& suffix) {
  for (int n = 1;; ++n) {
    std::string name = stem + std::to_string(n) + suffix;
    if (!Exists(name)) return name;
  }
}

std::uint32_t Read(HANDLE file, void* buffer, std::uint32_t n) {
  if (g_failRead > 0 && --g_failRead == 0) return 0;
  DWORD got = 0;
  if (!file || !ReadFile(file, buffer, n, &got, nullptr)) return 0;
  return got;
}

bool Write(HANDLE file, const void* data, std::uint32_t n) {
  if (g_failWrite > 0 && --g_failWrite == 0) return false;
  DWORD done = 0;
  return file && WriteFile(file, data, n, &done, nullptr) && done == n;
}

void FailWriteForTesting(long nth) { g_failWrite = nth; }
void FailReadForTesting(long nth) { g_failRead = nth; }

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

std::int64_t Tell(HANDLE file) {
  LARGE_INTEGER zero, pos;
  zero.QuadPart = 0;
  if (!file || !SetFilePointerEx(file, zero, &pos, FILE_CURRENT)) return -1;
  return pos.QuadPart;
}

std::int64_t Size(HANDLE file) {
  LARGE_INTEGER size;
  if (!file || !GetFileSizeEx(file, &size)) return -1;
  return size.QuadPart;
}

bool TruncateAt(HANDLE file, std::int64_t offset) {
  return SeekTo(file, offset) && SetEndOfFile(file);
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

BlockReader::BlockReader(HANDLE file) : file_(file), size_(std::max<std::int64_t>(0, store_io::Size(file))) {}

std::uint32_t BlockReader::Window(std::int64_t offset, std::uint32_t n, const char** bytes) {
  if (offset < 0 || offset >= size_) return 0;
  if (offset < blockStart_ || offset >= blockStart_ + blockLength_) {
    if (block_.empty()) block_.resize(kBlock);
    blockStart_ = offset - offset % kBlock;
    const std::int64_t left = size_ - blockStart_;
    const std::uint32_t want = static_cast<std::uint32_t>(std::min<std::int64_t>(kBlock, left));
    blockLength_ = SeekTo(file_, blockStart_) ? Read(file_, block_.data(), want) : 0;
    if (blockLength_ != want) failed_ = true;
    if (offset >= blockStart_ + blockLength_) {
      blockStart_ = -1;
      blockLength_ = 0;
      return 0;
    }
  }
  const std::uint32_t at = static_cast<std::uint32_t>(offset - blockStart_);
  *bytes = block_.data() + at;
  return std::min(n, blockLength_ - at);
}

bool BlockReader::ReadAt(std::int64_t offset, void* out, std::uint32_t n) {
  char* to = static_cast<char*>(out);
  return ForEachPiece(offset, n, [&](const char* piece, std::uint32_t k) {
    std::memcpy(to, piece, k);
    to += k;
  });
}

bool BlockReader::View(std::int64_t offset, std::uint32_t n, const char** bytes,
                       std::vector<char>* scratch) {
  if (n == 0) {
    *bytes = "";
    return true;
  }
  if (Window(offset, n, bytes) == n) return true;
  // Read past the block, so that the block stays: a reader going down the
  // file would otherwise read the block above again for the end of a
  // record that crosses into it, and then its own block once more.
  if (offset < 0 || static_cast<std::uint64_t>(offset) + n > static_cast<std::uint64_t>(size_))
    return false;
  scratch->resize(n);
  *bytes = scratch->data();
  if (SeekTo(file_, offset) && Read(file_, scratch->data(), n) == n) return true;
  failed_ = true;
  return false;
}

bool BlockReader::Block(std::int64_t offset, const char** bytes, std::int64_t* start,
                        std::uint32_t* length) {
  const char* at = nullptr;
  if (Window(offset, 1, &at) == 0) return false;
  *bytes = block_.data();
  *start = blockStart_;
  *length = blockLength_;
  return true;
}

bool BlockReader::ReadInt32(std::int64_t offset, std::int32_t* value) {
  unsigned char b[4];
  if (!ReadAt(offset, b, 4)) return false;
  *value = record_format::DecodeInt32(b);
  return true;
}

void BufferedWriter::Put(const void* data, std::uint32_t n) {
  const char* p = static_cast<const char*>(data);
  while (n > 0) {
    if (used_ == kCapacity) Flush();
    const std::uint32_t k = std::min(n, kCapacity - used_);
    std::memcpy(buffer_.data() + used_, p, k);
    used_ += k;
    p += k;
    n -= k;
  }
}

void BufferedWriter::PutInt32(std::int32_t value) {
  unsigned char b[4];
  record_format::EncodeInt32(value, b);
  Put(b, 4);
}

bool BufferedWriter::Flush() {
  if (used_ > 0) {
    ok_ = Write(file_, buffer_.data(), used_) && ok_;
    used_ = 0;
  }
  return ok_;
}

AtomicFileWriter::AtomicFileWriter(std::string target)
    : target_(std::move(target)), temporary_(TemporaryName(target_)) {}

AtomicFileWriter::~AtomicFileWriter() {
  writer_.reset();
  if (file_) CloseHandle(file_);
  if (!committed_) DeleteFileA(temporary_.c_str());
}

bool AtomicFileWriter::Open() {
  HANDLE file = CreateFileA(temporary_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  file_ = file;
  writer_.reset(new BufferedWriter(file_));
  return true;
}

bool AtomicFileWriter::Commit() {
  if (!file_ || !writer_->Flush() || !FlushFileBuffers(file_)) return false;
  CloseHandle(file_);
  file_ = nullptr;
  if (!MoveFileExA(temporary_.c_str(), target_.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return false;
  committed_ = true;
  return true;
}

}  // namespace store_io

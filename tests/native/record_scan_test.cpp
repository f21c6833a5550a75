// Which records of a data file count as whole, and when a file counts as
// damaged.
#include "store/record_scan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "store/record_format.h"

namespace {

class Bytes : public RecordSource {
 public:
  explicit Bytes(std::string bytes) : bytes_(std::move(bytes)) {}
  std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }
  bool ReadInt32(std::int64_t offset, std::int32_t* value) override {
    if (offset < 0 || offset + 4 > Size()) return false;
    *value = record_format::DecodeInt32(
        reinterpret_cast<const unsigned char*>(bytes_.data() + offset));
    return true;
  }

 private:
  std::string bytes_;
};

std::string Int(std::int32_t v) {
  unsigned char b[4];
  record_format::EncodeInt32(v, b);
  return std::string(reinterpret_cast<char*>(b), 4);
}

std::string Rec(const std::string& text) { return Int(static_cast<std::int32_t>(text.size())) + text; }

std::string Offsets(const std::vector<RecordRef>& records) {
  std::string out;
  for (const RecordRef& r : records) out += std::to_string(r.offset) + ":" + std::to_string(r.length) + " ";
  return out;
}

}  // namespace

TEST(RecordScan, WellFormedFilesAreNotDamaged) {
  Bytes empty(Int(0));
  DataFileScan scan = ScanDataFile(empty);
  EXPECT_FALSE(scan.damaged);
  EXPECT_EQ("", Offsets(scan.records));

  Bytes two(Int(2) + Rec("ab") + Rec(""));
  scan = ScanDataFile(two);
  EXPECT_FALSE(scan.damaged);
  EXPECT_EQ("4:2 10:0 ", Offsets(scan.records));
}

TEST(RecordScan, DamagedFilesGiveTheirWholeRecords) {
  const struct {
    const char* what;
    std::string bytes;
    const char* records;
  } cases[] = {
      {"count too large", Int(5) + Rec("a") + Rec("bc"), "4:1 9:2 "},
      {"count too small: trailing records", Int(1) + Rec("a") + Rec("bc"), "4:1 "},
      {"negative count", Int(-1) + Rec("a") + Rec("bc"), "4:1 9:2 "},
      {"cut inside a text", Int(2) + Rec("a") + Int(9) + "xyz", "4:1 "},
      {"cut inside a length", Int(2) + Rec("a") + std::string("\x03\0", 2), "4:1 "},
      {"negative length", Int(2) + Rec("a") + Int(-5) + "abcde", "4:1 "},
      {"huge length", Int(1) + Int(INT32_MAX) + "abc", ""},
      {"garbage after the records", Int(1) + Rec("a") + "zz", "4:1 "},
      {"shorter than a count", std::string("\x01\0", 2), ""},
      {"empty file", "", ""},
  };
  for (const auto& c : cases) {
    Bytes bytes(c.bytes);
    const DataFileScan scan = ScanDataFile(bytes);
    EXPECT_TRUE(scan.damaged) << c.what;
    EXPECT_EQ(c.records, Offsets(scan.records)) << c.what;
  }
}

TEST(RecordScan, AppendedRecordsStopAtTheFirstThatIsNotWhole) {
  // A working file: the data file it started from (9 bytes), then what a
  // run appended, the last record cut by a crash.
  Bytes work(Int(1) + Rec("a") + Rec("new1") + Rec("") + Rec("new3") + Int(10) + "cut");
  EXPECT_EQ("9:4 17:0 21:4 ", Offsets(ScanAppendedRecords(work, 9)));
  EXPECT_EQ("", Offsets(ScanAppendedRecords(work, 200)));
  Bytes nothing(Int(1) + Rec("a"));
  EXPECT_EQ("", Offsets(ScanAppendedRecords(nothing, 9)));
  // What a power loss leaves: the file extended by zero bytes never written.
  Bytes zeros(Int(1) + Rec("a") + Rec("new") + std::string(11, '\0'));
  EXPECT_EQ("9:3 ", Offsets(ScanAppendedRecords(zeros, 9)));
}

// The arithmetic that decides which records of a data file are whole.
// A damaged file must never lead outside its bytes.
#include "store/record_format.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace rf = record_format;

TEST(RecordFormat, IntegersAreSigned32BitLittleEndian) {
  struct Case {
    std::int32_t value;
    unsigned char bytes[4];
  };
  const Case cases[] = {
      {0, {0, 0, 0, 0}},
      {2, {2, 0, 0, 0}},
      {0x12345678, {0x78, 0x56, 0x34, 0x12}},
      {-1, {0xFF, 0xFF, 0xFF, 0xFF}},
      {INT32_MIN, {0, 0, 0, 0x80}},
      {INT32_MAX, {0xFF, 0xFF, 0xFF, 0x7F}},
  };
  for (const Case& c : cases) {
    unsigned char out[4] = {};
    rf::EncodeInt32(c.value, out);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(c.bytes[i], out[i]) << "value " << c.value << " byte " << i;
    EXPECT_EQ(c.value, rf::DecodeInt32(c.bytes));
  }
}

TEST(RecordFormat, PossibleRecordsNeverExceedWhatTheFileCanHold) {
  EXPECT_EQ(0, rf::PossibleRecords(0, 4));         // the empty history
  EXPECT_EQ(2, rf::PossibleRecords(2, 14));        // ab and an empty text
  EXPECT_EQ(2, rf::PossibleRecords(5, 14));        // a count too large
  EXPECT_EQ(0, rf::PossibleRecords(-3, 1000));     // a negative count
  EXPECT_EQ(0, rf::PossibleRecords(INT32_MAX, 4)); // an absurd count, no records
  EXPECT_EQ(0, rf::PossibleRecords(7, 0));         // an empty file
  EXPECT_EQ(1, rf::PossibleRecords(INT32_MAX, 11));
}

TEST(RecordFormat, NextRecordFollowsWholeRecordsOnly) {
  // 02 00 00 00 | 02 00 00 00 61 62 | 00 00 00 00 : 14 bytes.
  EXPECT_EQ(10, rf::NextRecord(4, 2, 14));
  EXPECT_EQ(14, rf::NextRecord(10, 0, 14));  // ends exactly at the end
  EXPECT_EQ(-1, rf::NextRecord(10, 1, 14));  // one byte missing
  EXPECT_EQ(-1, rf::NextRecord(4, -1, 14));  // a negative length
  EXPECT_EQ(-1, rf::NextRecord(4, INT32_MAX, 14));
  EXPECT_EQ(-1, rf::NextRecord(12, 0, 14));  // the length field itself is cut
}

TEST(RecordFormat, OffsetsAreLimitedTo32Bits) {
  EXPECT_TRUE(rf::IsAddressable(0));
  EXPECT_TRUE(rf::IsAddressable(INT32_MAX));
  EXPECT_FALSE(rf::IsAddressable(static_cast<std::int64_t>(INT32_MAX) + 1));
  EXPECT_FALSE(rf::IsAddressable(-1));
}

TEST(RecordFormat, WorkingFileStaysWithinTheOffsetLimit) {
  EXPECT_TRUE(rf::FitsInWorkingFile(0, 0));
  EXPECT_TRUE(rf::FitsInWorkingFile(INT32_MAX - 10, 6));  // ends on the last byte
  EXPECT_FALSE(rf::FitsInWorkingFile(INT32_MAX - 10, 7));
  EXPECT_FALSE(rf::FitsInWorkingFile(INT32_MAX - 3, 0));   // not even the length field
  EXPECT_FALSE(rf::FitsInWorkingFile(0, static_cast<std::uint64_t>(INT32_MAX)));
  EXPECT_FALSE(rf::FitsInWorkingFile(0, UINT64_MAX));      // no wrap-around
  EXPECT_FALSE(rf::FitsInWorkingFile(-1, 0));              // no working file
}

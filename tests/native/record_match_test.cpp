// A record read in pieces gets the verdict it gets whole, wherever the
// pieces are cut: through a match, a double-byte or UTF-8 character, the
// zero byte or the tag of a Unicode copy.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "output/record_match.h"
#include "output/shape.h"

namespace {

bool InPieces(const RecordMatcher& matcher, const std::string& record, std::mt19937& random,
              std::size_t most) {
  RecordStream stream(matcher);
  for (std::size_t at = 0; at < record.size();) {
    const std::size_t n = std::min(record.size() - at, std::size_t{1} + random() % most);
    stream.Feed(record.data() + at, n);
    at += n;
  }
  return stream.Matches();
}

}  // namespace

TEST(RecordMatch, PiecesOfAnySizeGiveTheWholeRecordsVerdict) {
  SetShapeCodePage(932);
  // Parts the records are made of: letters, double-byte characters of
  // code page 932 (one with an "a" as its second byte), UTF-8
  // characters, broken UTF-8, and the zero byte and tag of a copy.
  const std::vector<std::string> bits = {
      "a", "b", "ab", "A", "\x83\x61", "\x82\xa0", "\xe3\x81\x82", "\xf0\x9f\x98\x80",
      "\xc3\xa9", "\xe3\x81", "\x80", std::string("\0UTF8", 5), std::string("\0", 1), "UTF"};
  const char* const patterns[] = {"ab", "a", "aba", "\x83\x61\x61", "Ab"};
  const char* const utf8Patterns[] = {"ab", "\xe3\x81\x82\x61", "\xf0\x9f\x98\x80", "b\xc3\xa9"};
  std::mt19937 random(29);
  int found = 0, checked = 0;
  for (int round = 0; round < 4000; ++round) {
    std::string record;
    for (std::size_t i = random() % 24; i > 0; --i) record += bits[random() % bits.size()];
    const TextMatcher codePage(patterns[round % 5]);
    const TextMatcher utf8(utf8Patterns[round % 4], true);
    const RecordMatcher matcher(round % 7 == 0 ? nullptr : &codePage, utf8);
    const bool whole = matcher.Matches(record.data(), record.size());
    found += whole;
    for (std::size_t most : {1, 2, 3, 7, 64}) {
      ++checked;
      ASSERT_EQ(whole, InPieces(matcher, record, random, most))
          << "record of " << record.size() << " bytes, pieces up to " << most;
    }
  }
  // Both verdicts came up often enough for the comparison to mean something.
  EXPECT_GT(found, 400);
  EXPECT_LT(found, 3600);
  SetShapeCodePage(0);
}

// The fast skip over places where no match can begin, checked against
// the obvious byte-by-byte answer on texts long and short enough to meet
// every edge of the sixteen-byte steps.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "store/match_start.h"

namespace {

bool BeginsAt(const std::string& text, size_t i, size_t end, const MatchStarts& starts) {
  auto in = [](char c, const unsigned char (&two)[2]) {
    return static_cast<unsigned char>(c) == two[0] || static_cast<unsigned char>(c) == two[1];
  };
  for (int w = 0; w < starts.ways; ++w) {
    const MatchStart& s = starts.way[w];
    if (in(text[i], s.first) && (!s.pair || (i + 1 < end && in(text[i + 1], s.second)))) return true;
  }
  return false;
}

}  // namespace

TEST(MatchStart, AgreesWithAByteByByteLookForwardAndBack) {
  const MatchStart q = {{'q', 'Q'}, {}, false}, ne = {{'n', 'N'}, {'e', 'E'}, true},
                   dbcs = {{0x83, 0x83}, {0x61, 0x61}, true};
  // One way, or two (a pattern in the code page and in UTF-8).
  const MatchStarts starts[] = {{{q, {}}, 1}, {{ne, {}}, 1}, {{dbcs, {}}, 1}, {{dbcs, q}, 2}};
  std::mt19937 random(7);
  for (const MatchStarts& s : starts) {
    for (size_t length = 0; length < 70; ++length) {
      std::string text(length, 'x');
      for (char& c : text) c = "qQnNeE\x83\x61x"[random() % 9];
      // A byte past the end that would complete a pair: none may be read.
      const std::string buffer = text + static_cast<char>(s.way[0].second[0]);
      const char* base = buffer.data();
      for (size_t from = 0; from <= length; from += 1 + length / 7) {
        SCOPED_TRACE(text + " from " + std::to_string(from));
        size_t next = from;
        while (next < length && !BeginsAt(text, next, length, s)) ++next;
        EXPECT_EQ(base + next, NextMatchStart(base + from, base + length, s));
        // Backward from `from`, with the whole text there for the second byte.
        size_t last = from;
        while (last > 0 && !BeginsAt(text, last - 1, length, s)) --last;
        EXPECT_EQ(last ? base + last - 1 : nullptr, LastMatchStart(base, base + from, base + length, s));
      }
    }
  }
}

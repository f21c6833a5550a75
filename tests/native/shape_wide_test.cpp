// The shaping of a Unicode text: the byte shaping's rules, with the wrap
// column counting each character's width in the code page.
#include "output/shape_wide.h"

#include <gtest/gtest.h>

#include <string>

#include "output/shape.h"

namespace {

// As in code page 932: ASCII takes 1 column, everything else 2.
int Width(char32_t c) { return c < 0x80 ? 1 : 2; }

std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// Shift-JIS texts of ASCII and the two characters below, in UTF-16.
const std::string kA = "\x82\xA0", kI = "\x82\xA2";  // あ, い
std::u16string FromShiftJis(const std::string& bytes) {
  std::u16string wide;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes.compare(i, 2, kA) == 0 || bytes.compare(i, 2, kI) == 0) {
      wide += bytes[i + 1] == kA[1] ? u'\u3042' : u'\u3044';
      ++i;
    } else {
      EXPECT_GT(0x80, static_cast<unsigned char>(bytes[i])) << "no such character here";
      wide += static_cast<char16_t>(bytes[i]);
    }
  }
  return wide;
}

}  // namespace

// On ASCII texts the two shapings must agree: every line-break rule,
// quote, footer and column the byte shaping knows.
TEST(ShapeWide, AgreesWithTheByteShapingOnAsciiTexts) {
  SetShapeCodePage(0);
  const char* texts[] = {"", "abc", "abc\r\n", "a\r\nb\r\n\r\n", "abcdefghij\r\nxy", "\r", "ab\rc",
                         "a\nb"};
  const char* decorations[][2] = {{"", ""}, {"> ", ""}, {"", " <"}, {"> ", "|"}};
  for (const char* text : texts) {
    for (const auto& d : decorations) {
      for (int wrap : {0, 3, 4, 7}) {
        for (int rule : {kShapeLfNone, kShapeLfOk, kShapeLfInyo}) {
          SCOPED_TRACE(std::string(text) + "|" + d[0] + "|" + d[1] + "|" + std::to_string(wrap) +
                       "|" + std::to_string(rule));
          std::string bytes(static_cast<size_t>(ShapeLength(text, d[0], d[1], wrap, rule) + 1), '\0');
          const long long n = ShapeWrite(text, &bytes[0], d[0], d[1], wrap, rule);
          std::u16string wide;
          EXPECT_EQ(n >= 0, ShapeWide(Wide(text), Wide(d[0]), Wide(d[1]), wrap, rule, Width, &wide));
          if (n >= 0) EXPECT_EQ(Wide(bytes.substr(0, static_cast<size_t>(n))), wide);
        }
      }
    }
  }
}

TEST(ShapeWide, WideCharactersAndSurrogatePairsAreNeverSplit) {
  struct Case {
    std::u16string text, quote;
    int wrap;
    std::u16string shaped;
  };
  const Case cases[] = {
      {u"a\u3042b", u"", 2, u"a\r\n\u3042\r\nb"},
      {u"\U0001F600\U0001F600x", u"", 3, u"\U0001F600\r\n\U0001F600x"},
      {u"\u00e9\u00e9", u"", 1, u"\u00e9\r\n\u00e9"},     // wider than the room: whole
      {u"ab\u3042c", u"> ", 4, u"> ab\r\n> \u3042\r\n> c"},
  };
  for (const Case& c : cases) {
    std::u16string out;
    EXPECT_TRUE(ShapeWide(c.text, c.quote, u"", c.wrap, kShapeLfNone, Width, &out))
        << ::testing::PrintToString(c.text) << " shaped to " << ::testing::PrintToString(out);
    EXPECT_EQ(c.shaped, out);
  }
}

TEST(ShapeWide, CuttingCountsColumnsAndKeepsCharactersWhole) {
  struct Case {
    std::u16string text;
    int columns;
    std::u16string cut;
  };
  const Case cases[] = {
      {u"abc", 2, u"ab"},
      {u"a\u3042b", 2, u"a"},                  // the wide character would cross the edge
      {u"a\u3042b", 3, u"a\u3042"},
      {u"\U0001F600\U0001F600", 3, u"\U0001F600"},  // a pair is one character of 2
      {u"", 5, u""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.cut, CutToColumns(c.text, c.columns, Width));
}

// Line ends, in both shapings alike: a CR LF is one, and so is a CR alone,
// which leaves the character after it (a double-byte one whole) to the
// next line.
TEST(ShapeWide, LineEndsAreTheSameInBothShapings) {
  const unsigned saved = ShapeCodePage();
  SetShapeCodePage(932);
  const int kNone = kShapeLfNone, kOk = kShapeLfOk, kInyo = kShapeLfInyo;
  struct Case {
    std::string text;
    const char* quote;
    int wrap, rule;
    std::string shaped;
  };
  const Case cases[] = {
      {"ab\rcd\rxy", "", 0, kInyo, "ab\r\ncd\r\nxy"},
      {"a\r" + kA + "b", "> ", 0, kInyo, "> a\r\n> " + kA + "b\r\n"},
      {"a\r\nb\r\n", "> ", 0, kInyo, "> a\r\n> b\r\n> \r\n"},
      {"a\r\rb", "", 0, kOk, "a\r\n\r\nb\r\n"},
      {"a\r\r\nb\n\rc", "", 0, kOk, "a\r\n\r\nb\n\r\nc\r\n"},
      {"ab\rc", ">", 0, kNone, ">ab\r\n>c"},
      {"abc\rdef", "", 2, kNone, "ab\r\nc\r\nde\r\nf"},
      {"a\r" + kA + kI, "", 2, kNone, "a\r\n" + kA + "\r\n" + kI},
      {"ab\r", "> ", 0, kInyo, "> ab\r\n> \r\n"},
      {"a\rbc", "", 0, kNone, "a\rbc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text) + " quote \"" + c.quote + "\" wrap " +
                 std::to_string(c.wrap) + " rule " + std::to_string(c.rule));
    const long long length = ShapeLength(c.text.c_str(), c.quote, "", c.wrap, c.rule);
    std::string bytes(static_cast<size_t>(length) + 1, '\0');
    ShapeWrite(c.text.c_str(), &bytes[0], c.quote, "", c.wrap, c.rule);
    EXPECT_EQ(c.shaped, bytes.c_str());
    std::u16string wide;
    EXPECT_TRUE(ShapeWide(FromShiftJis(c.text), Wide(c.quote), u"", c.wrap, c.rule, Width, &wide))
        << "shaped to " << ::testing::PrintToString(wide);
    EXPECT_EQ(FromShiftJis(c.shaped), wide);
  }
  SetShapeCodePage(saved);
}

// Text shaping: quote prefix and footer on every output line, the hard
// wrap at a byte column that never splits a double-byte character, and the
// line-end rules. Measuring and writing must agree byte for byte.
#include "output/shape.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstddef>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

const int kNone = kShapeLfNone;
const int kOk = kShapeLfOk;
const int kInyo = kShapeLfInyo;

// Shift-JIS characters: あ, い, 漢, and ソ, whose second byte is '\' (0x5C).
const std::string kA = "\x82\xA0";
const std::string kI = "\x82\xA2";
const std::string kKan = "\x8A\xBF";
const std::string kSo = "\x83\x5C";

// The code page is global: every test that depends on it sets it and puts
// back what was there before.
class CodePageScope {
 public:
  explicit CodePageScope(unsigned code_page) : saved_(ShapeCodePage()) {
    SetShapeCodePage(code_page);
  }
  ~CodePageScope() { SetShapeCodePage(saved_); }
  CodePageScope(const CodePageScope&) = delete;
  CodePageScope& operator=(const CodePageScope&) = delete;

 private:
  unsigned saved_;
};

// Shapes `text` held in a heap block of exactly its size, so that the
// sanitizers catch any read past its terminator, into an output block of
// exactly the measured size plus the terminator and a guard area. Checks
// that measuring, writing and appending agree; the result is what was
// written. Called through SHAPE, so that a failure names the calling line.
std::string Shape(const char* file, int line, const std::string& text, const char* quote,
                  const char* footer, int wrap, int rule) {
  ::testing::ScopedTrace trace(file, line, "Shape");
  const std::size_t text_len = std::strlen(text.c_str());
  std::unique_ptr<char[]> in(new char[text_len + 1]);
  std::memcpy(in.get(), text.c_str(), text_len + 1);

  const long long length = ShapeLength(in.get(), quote, footer, wrap, rule);
  if (length < 0) {
    ADD_FAILURE() << "ShapeLength gave " << length;
    return std::string();
  }
  const std::size_t kGuard = 16;
  const std::size_t size = static_cast<std::size_t>(length);
  std::vector<char> out(size + 1 + kGuard, '\x5A');
  const long long written = ShapeWrite(in.get(), out.data(), quote, footer, wrap, rule);
  EXPECT_EQ(length, written) << "measured and written lengths differ";
  EXPECT_EQ('\0', out[size]) << "no terminator after the shaped text";
  for (std::size_t i = size + 1; i < out.size(); ++i) {
    EXPECT_EQ('\x5A', out[i]) << "byte " << i - size - 1 << " after the terminator was written";
  }
  std::string result(out.data(), size);
  EXPECT_EQ(size, std::strlen(out.data())) << "a zero byte inside the shaped text";

  std::string appended = "prefix";
  appended.resize(appended.size() + size + 1, '\0');
  EXPECT_EQ(0, ShapeAppend(in.get(), &appended[0], quote, footer, wrap, rule));
  EXPECT_EQ("prefix" + result, std::string(appended.c_str())) << "appending differs from writing";
  return result;
}
#define SHAPE(...) Shape(__FILE__, __LINE__, __VA_ARGS__)

struct Case {
  const char* name;
  std::string text;
  const char* quote;
  const char* footer;
  int wrap;
  int rule;
  std::string expected;
};

// Each case shaped and measured; called through EXPECT_CASES.
void ExpectCases(const char* file, int line, const std::vector<Case>& cases) {
  ::testing::ScopedTrace trace(file, line, "ExpectCases");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, SHAPE(c.text, c.quote, c.footer, c.wrap, c.rule));
    EXPECT_EQ(static_cast<long long>(c.expected.size()),
              ShapeLength(c.text.c_str(), c.quote, c.footer, c.wrap, c.rule));
  }
}
#define EXPECT_CASES(...) ASSERT_NO_FATAL_FAILURE(ExpectCases(__FILE__, __LINE__, __VA_ARGS__))

TEST(Shape, DocumentedExamples) {
  CodePageScope cp(932);
  EXPECT_CASES({
      {"abc plain lfnone", "abc", "", "", 0, kNone, "abc"},
      {"abc plain lfok", "abc", "", "", 0, kOk, "abc\r\n"},
      {"abc plain lfinyo", "abc", "", "", 0, kInyo, "abc"},
      {"abc quoted lfinyo", "abc", "> ", "", 0, kInyo, "> abc\r\n"},
      {"abc quoted lfnone", "abc", "> ", "", 0, kNone, "> abc"},
      {"abc CRLF quoted lfnone", "abc\r\n", "> ", "", 0, kNone, "> abc\r\n> "},
      {"abc CRLF quoted lfok", "abc\r\n", "> ", "", 0, kOk, "> abc\r\n> \r\n"},
      {"abc CRLF quoted lfinyo", "abc\r\n", "> ", "", 0, kInyo, "> abc\r\n> \r\n"},
      {"abc CRLF plain lfok", "abc\r\n", "", "", 0, kOk, "abc\r\n"},
      {"quoted wrap 6", "abcdefghij", "> ", "", 6, kNone, "> abcd\r\n> efgh\r\n> ij"},
      {"wrap 4 lfok", "abcdefghij", "", "", 4, kOk, "abcd\r\nefgh\r\nij\r\n"},
      {"full line then break", "abcd\r\nef", "", "", 4, kNone, "abcd\r\nef"},
      {"double-byte moves on", "ab" + kA + "cd", "", "", 3, kNone, "ab\r\n" + kA + "c\r\nd"},
      {"double-byte alone at 1", kA + kI, "", "", 1, kNone, kA + "\r\n" + kI},
      {"LF-only lines", "a\nb\nc", "", "", 0, kOk, "a\nb\nc\r\n"},
      {"empty quoted lfnone", "", "> ", "", 0, kNone, "> "},
      {"empty plain lfok", "", "", "", 0, kOk, "\r\n"},
      {"quote and footer", "abc", "> ", " <", 0, kNone, "> abc <"},
  });
  EXPECT_EQ(9, ShapeLength("abc\r\n", "> ", "", 0, kNone));
  EXPECT_EQ(11, ShapeLength("abc\r\n", "> ", "", 0, kOk));
  EXPECT_EQ(20, ShapeLength("abcdefghij", "> ", "", 6, kNone));
  EXPECT_EQ(16, ShapeLength("abcdefghij", "", "", 4, kOk));
}

TEST(Shape, NoRoomForTextFailsAndLeavesOutputAlone) {
  struct Bad {
    const char* quote;
    const char* footer;
    int wrap;
  };
  const Bad bad[] = {
      {">", "", 1}, {"> ", "", 2}, {"> ", " <", 4}, {"", "<<", 2}, {"", "", -1}, {">", "", -5},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(std::string("quote '") + b.quote + "' footer '" + b.footer +
                 "' wrap " + std::to_string(b.wrap));
    for (int rule = 1; rule <= 3; ++rule) {
      EXPECT_EQ(-1, ShapeLength("abc", b.quote, b.footer, b.wrap, rule));
      EXPECT_EQ(-1, ShapeLength("", b.quote, b.footer, b.wrap, rule));
      char out[16] = "kept";
      std::memset(out + 5, '#', sizeof out - 5);
      char before[sizeof out];
      std::memcpy(before, out, sizeof out);
      EXPECT_EQ(-1, ShapeAppend("abc", out, b.quote, b.footer, b.wrap, rule));
      EXPECT_EQ(0, std::memcmp(before, out, sizeof out)) << "out became '" << out << "'";
      EXPECT_EQ(-1, ShapeWrite("abc", out + 4, b.quote, b.footer, b.wrap, rule));
      EXPECT_EQ(0, std::memcmp(before, out, sizeof out)) << "out became '" << out << "'";
    }
  }
  // One byte of room is enough.
  EXPECT_EQ(">a\r\n>b", SHAPE("ab", ">", "", 2, kNone));
  EXPECT_EQ("a<\r\nb<", SHAPE("ab", "", "<", 2, kNone));
}

TEST(Shape, DoubleByteCharactersAtTheColumnEdge) {
  CodePageScope cp(932);
  EXPECT_CASES({
      {"ends exactly at the column", "ab" + kA + "cd", "", "", 4, kNone,
       "ab" + kA + "\r\ncd"},
      {"crosses the column by one", "abc" + kA, "", "", 4, kNone, "abc\r\n" + kA},
      {"ends at the column, then text end", "ab" + kA, "", "", 4, kOk, "ab" + kA + "\r\n"},
      {"ends at the column, then break", "ab" + kA + "\r\nx", "", "", 4, kNone,
       "ab" + kA + "\r\nx"},
      {"only double-byte, even column", kA + kI + kA, "", "", 4, kNone,
       kA + kI + "\r\n" + kA},
      {"only double-byte, odd column", kA + kI + kA, "", "", 3, kNone,
       kA + "\r\n" + kI + "\r\n" + kA},
      {"second byte in ASCII range", "a" + kSo + kSo, "", "", 2, kNone,
       "a\r\n" + kSo + "\r\n" + kSo},
      {"inside quote and footer", "ab" + kKan + "c", "> ", "|", 5, kNone,
       "> ab|\r\n> " + kKan + "|\r\n> c|"},
      {"quoted, crosses the column", "abc" + kKan, "> ", "", 6, kInyo,
       "> abc\r\n> " + kKan + "\r\n"},
      {"lead byte before a CR is single", "a\x82\r\nb", "", "", 2, kNone, "a\x82\r\nb"},
      {"lead byte at the text end is single", "ab\x82", "", "", 3, kNone, "ab\x82"},
      {"lead byte at the text end, wrapped", "ab\x82", "", "", 2, kNone, "ab\r\n\x82"},
      {"lead byte before a non-trail byte", "\x82" "0\x82" "1", "", "", 1, kNone,
       "\x82\r\n" "0\r\n\x82\r\n" "1"},
      {"a lead byte can be a second byte", "\x82\x82\xA0", "", "", 2, kNone,
       "\x82\x82\r\n\xA0"},
  });
}

TEST(Shape, OneByteOfRoomPerLine) {
  CodePageScope cp(932);
  EXPECT_CASES({
      {"single bytes", "abc", "", "", 1, kNone, "a\r\nb\r\nc"},
      {"single bytes lfok", "abc", "", "", 1, kOk, "a\r\nb\r\nc\r\n"},
      {"mixed", "a" + kA + "b", "", "", 1, kNone, "a\r\n" + kA + "\r\nb"},
      {"mixed with quote", "a" + kA, ">", "", 2, kInyo, ">a\r\n>" + kA + "\r\n"},
      {"with quote and footer", "ab", "[", "]", 3, kNone, "[a]\r\n[b]"},
      {"empty line between", "a\r\n\r\nb", "", "", 1, kNone, "a\r\n\r\nb"},
  });
}

TEST(Shape, EmptyTexts) {
  CodePageScope cp(932);
  EXPECT_CASES({
      {"plain lfnone", "", "", "", 0, kNone, ""},
      {"plain lfinyo", "", "", "", 0, kInyo, ""},
      {"plain wrapped lfnone", "", "", "", 5, kNone, ""},
      {"quoted lfok", "", "> ", "", 0, kOk, "> \r\n"},
      {"quoted lfinyo", "", "> ", "", 0, kInyo, "> \r\n"},
      {"footer only lfnone", "", "", " <", 0, kNone, " <"},
      {"footer only lfinyo", "", "", " <", 0, kInyo, " <\r\n"},
      {"quoted and wrapped", "", "> ", "", 3, kNone, "> "},
  });
}

TEST(Shape, LfOnlyLinesAreOrdinaryBytes) {
  CodePageScope cp(932);
  EXPECT_CASES({
      {"plain lfnone unchanged", "a\nb\n", "", "", 0, kNone, "a\nb\n"},
      {"quoted: one line", "a\nb\n", "> ", "", 0, kNone, "> a\nb\n"},
      {"quoted lfinyo", "a\nb", "> ", "", 0, kInyo, "> a\nb\r\n"},
      {"LF counts for the column", "ab\ncd", "", "", 3, kNone, "ab\n\r\ncd"},
      {"LF at the end, lfok", "ab\n", "", "", 0, kOk, "ab\n\r\n"},
      {"LF after CR is consumed, lone LF is not", "a\r\n\nb", "", "", 0, kOk,
       "a\r\n\nb\r\n"},
  });
}

TEST(Shape, TextsEndingInLineBreaks) {
  CodePageScope cp(932);
  EXPECT_CASES({
      {"plain lfnone keeps it", "ab\r\n", "", "", 0, kNone, "ab\r\n"},
      {"plain lfinyo", "ab\r\n", "", "", 0, kInyo, "ab\r\n"},
      {"wrapped at the column, no quote", "abcd\r\n", "", "", 4, kOk, "abcd\r\n"},
      {"wrapped at the column, quoted", "abcd\r\n", "> ", "", 6, kOk, "> abcd\r\n> \r\n"},
      {"footer closes the last empty line", "ab\r\n", "", " <", 0, kNone, "ab <\r\n <"},
      {"footer, lfinyo", "ab\r\n", "", " <", 0, kInyo, "ab <\r\n <\r\n"},
      {"only a line break, quoted", "\r\n", "> ", "", 0, kNone, "> \r\n> "},
      {"two line breaks, quoted lfok", "a\r\n\r\n", "> ", "", 0, kOk, "> a\r\n> \r\n> \r\n"},
      {"wrapped in the last line", "abcdef\r\n", "> ", "", 5, kInyo,
       "> abc\r\n> def\r\n> \r\n"},
  });
}

TEST(Shape, LoneCrAtTheEndIsALineBreak) {
  CodePageScope cp(932);
  EXPECT_CASES({
      {"quoted lfnone", "abc\r", "> ", "", 0, kNone, "> abc\r\n> "},
      {"quoted lfok", "abc\r", "> ", "", 0, kOk, "> abc\r\n> \r\n"},
      {"plain lfok", "abc\r", "", "", 0, kOk, "abc\r\n"},
      {"plain lfinyo", "abc\r", "", "", 0, kInyo, "abc\r\n"},
      {"unchanged copy", "abc\r", "", "", 0, kNone, "abc\r"},
      {"only a CR, footer", "\r", "", "<", 0, kNone, "<\r\n<"},
      {"after a full wrapped line", "abcd\r", "", "", 4, kOk, "abcd\r\n"},
      {"after a double-byte character", "a" + kA + "\r", "> ", "", 4, kNone,
       "> a\r\n> " + kA + "\r\n> "},
  });
  // Bytes after the terminator must never be read, let alone copied.
  const char text[] = "abc\r\0XYZ\r\n";
  const char* rules[] = {"lfnone", "lfok", "lfinyo"};
  for (int rule = 1; rule <= 3; ++rule) {
    for (int wrap : {0, 3, 4, 6}) {
      SCOPED_TRACE(std::string(rules[rule - 1]) + " wrap " + std::to_string(wrap));
      const long long length = ShapeLength(text, "> ", "", wrap, rule);
      ASSERT_GT(length, 0);
      std::vector<char> out(static_cast<std::size_t>(length) + 1);
      EXPECT_EQ(length, ShapeWrite(text, out.data(), "> ", "", wrap, rule));
      const std::string shaped(out.data());
      EXPECT_EQ(std::string::npos, shaped.find('X')) << shaped;
      EXPECT_EQ(SHAPE("abc\r\n", "> ", "", wrap, rule), shaped);
    }
  }
}

TEST(Shape, CodePageDecidesWhatIsDoubleByte) {
  // あ (82 A0) is one character in Shift-JIS only. 0xFD starts a
  // character in GBK, Unified Hangul and Big5 but not in Shift-JIS; 0x40
  // follows a lead byte in all but Unified Hangul; 0x80 follows one in
  // Shift-JIS and GBK only.
  const std::string text = "ab" + kA + "cd";
  struct Row {
    unsigned code_page;
    int wrap;
    std::string text;
    std::string expected;
  };
  const std::vector<Row> rows = {
      {1252, 3, text, "ab\x82\r\n\xA0" "cd"},
      {1252, 1, text, "a\r\nb\r\n\x82\r\n\xA0\r\nc\r\nd"},
      {932, 3, text, "ab\r\n" + kA + "c\r\nd"},
      {0, 3, text, "ab\x82\r\n\xA0" "cd"},
      {932, 1, "\xFD\x41", "\xFD\r\n\x41"},
      {936, 1, "\xFD\x41", "\xFD\x41"},
      {949, 1, "\xFD\x41", "\xFD\x41"},
      {950, 1, "\xFD\x41", "\xFD\x41"},
      {936, 1, "\x81\x40", "\x81\x40"},
      {949, 1, "\x81\x40", "\x81\r\n\x40"},
      {950, 1, "\x81\x40", "\x81\x40"},
      {932, 1, "\x81\x80", "\x81\x80"},
      {936, 1, "\x81\x80", "\x81\x80"},
      {949, 1, "\x81\x80", "\x81\r\n\x80"},
      {950, 1, "\x81\x80", "\x81\r\n\x80"},
      {950, 1, "\x81\xA1", "\x81\xA1"},
      {949, 1, "\x81\x5B", "\x81\r\n\x5B"},
      {949, 1, "\x81\x61", "\x81\x61"},
      {932, 1, "\xA0\xA0", "\xA0\r\n\xA0"},
      {1251, 1, "\x81\x40", "\x81\r\n\x40"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE("code page " + std::to_string(r.code_page) + ", wrap " + std::to_string(r.wrap));
    CodePageScope cp(r.code_page);
    EXPECT_EQ(r.expected, SHAPE(r.text, "", "", r.wrap, kNone));
  }
  EXPECT_EQ(0u, ShapeCodePage()) << "the scopes did not restore the code page";
}

TEST(Shape, WritingContinuesAfterExistingContent) {
  CodePageScope cp(932);
  char out[64] = "xyz";
  ASSERT_EQ(0, ShapeAppend("abc", out, "> ", "", 0, kInyo));
  EXPECT_STREQ("xyz> abc\r\n", out);
  ASSERT_EQ(0, ShapeAppend("de\r\n", out, "", "", 0, kNone));
  EXPECT_STREQ("xyz> abc\r\nde\r\n", out);
  ASSERT_EQ(0, ShapeAppend("", out, "", "", 0, kNone));
  EXPECT_STREQ("xyz> abc\r\nde\r\n", out);

  // Building one output from several texts by the returned lengths.
  const char* texts[] = {"one", "two\r\n", "", "four"};
  long long total = 0;
  for (const char* t : texts) total += ShapeLength(t, "> ", nullptr, 0, kOk);
  std::vector<char> block(static_cast<std::size_t>(total) + 1, '#');
  char* end = block.data();
  for (const char* t : texts) {
    const long long n = ShapeWrite(t, end, "> ", nullptr, 0, kOk);
    ASSERT_GE(n, 0);
    end += n;
  }
  EXPECT_EQ(block.data() + total, end);
  EXPECT_EQ(std::string("> one\r\n> two\r\n> \r\n> \r\n> four\r\n"), std::string(block.data()));
}

TEST(Shape, MissingQuoteOrFooterIsEmptyAndUnknownRulesAddNothing) {
  CodePageScope cp(932);
  EXPECT_EQ("abc\r\n", SHAPE("abc", nullptr, nullptr, 0, kOk));
  EXPECT_EQ("ab\r\nc", SHAPE("abc", nullptr, nullptr, 2, kNone));
  EXPECT_EQ(-1, ShapeLength("abc", ">>", nullptr, 2, kNone));
  for (int rule : {0, 4, -1, INT_MAX}) {
    SCOPED_TRACE("rule " + std::to_string(rule));
    EXPECT_EQ("a\rb", SHAPE("a\rb", "", "", 0, rule));
    EXPECT_EQ("> a\r\n> ", SHAPE("a\r\n", "> ", "", 0, rule));
    EXPECT_EQ("> a", SHAPE("a", "> ", "", 0, rule));
  }
}

TEST(Shape, WrappedLinesKeepToTheColumnAtEveryOffset) {
  CodePageScope cp(932);
  // Double-byte characters and a line break at shifting offsets, so that
  // they meet the column and the ends of the scanned blocks everywhere.
  for (int lead = 0; lead < 80; ++lead) {
    std::string text(static_cast<std::size_t>(lead), 'x');
    text += kKan + "0123456789abcdefghij" + kSo + "\r\n" + std::string(17, 'y') + kA;
    std::string expected_w0 = "> " + text.substr(0, text.find('\r')) + "\r\n> " +
                              std::string(17, 'y') + kA + "\r\n";
    EXPECT_EQ(expected_w0, SHAPE(text, "> ", "", 0, kInyo)) << "lead " << lead;
    // Wrapped at 10: every line of the result holds at most 10 bytes and
    // removing the inserted breaks gives the text back.
    const std::string wrapped = SHAPE(text, "", "", 10, kNone);
    std::string joined;
    std::size_t start = 0;
    for (;;) {
      const std::size_t br = wrapped.find("\r\n", start);
      const std::string line = wrapped.substr(start, br == std::string::npos ? br : br - start);
      EXPECT_LE(line.size(), 10u) << "lead " << lead << " line '" << line << "'";
      // The text holds no lone lead byte, so a line ending in one has cut a
      // character in two.
      const char last = line.empty() ? 'x' : line.back();
      EXPECT_TRUE(last != '\x8A' && last != '\x83' && last != '\x82')
          << "lead " << lead << " line '" << line << "' splits a character";
      joined += line;
      if (br == std::string::npos) break;
      start = br + 2;
    }
    std::string text_joined = text;
    text_joined.erase(text_joined.find("\r\n"), 2);
    EXPECT_EQ(text_joined, joined) << "lead " << lead;
  }
}

TEST(Shape, LengthBeyondTheRangeOfInt) {
  // One text byte per line with a long prefix: 3,000,000 lines of 1,001
  // bytes and the line breaks between them.
  const std::string text(3000000, 'a');
  const std::string quote(1000, 'q');
  const long long expected = 3000000LL * 1001 + 2999999LL * 2;
  ASSERT_GT(expected, static_cast<long long>(INT_MAX));
  EXPECT_EQ(expected, ShapeLength(text.c_str(), quote.c_str(), "", 1001, kNone));
  EXPECT_EQ(expected + 2, ShapeLength(text.c_str(), quote.c_str(), "", 1001, kOk));
}

// Lines of every length up to a few blocks, followed by every short rest
// of text, with what goes between lines short and long: the fixed-size
// copies near the end of the text must neither read past its terminator
// nor write past the measured size (the sanitizers and the guard bytes of
// Shape watch both).
TEST(Shape, EveryLineLengthNearTheEndOfTheText) {
  CodePageScope cp(932);
  struct Decoration {
    const char* quote;
    const char* footer;
  };
  const Decoration decorations[] = {
      {"> ", ""},                                    // 4 bytes between lines
      {"> quote of 14b", ""},                        // 16
      {"> quote of 15by", ""},                       // 17
      {"> a quote of thirty bytes, yes", ""},        // 32
      {"> a quote of thirty bytes, yes", "<"},       // 33
  };
  for (const Decoration& d : decorations) {
    for (int len = 0; len <= 140; ++len) {
      for (int rest = 0; rest <= 70; ++rest) {
        const std::string line(static_cast<std::size_t>(len), 'x');
        const std::string text = line + "\r\n" + std::string(static_cast<std::size_t>(rest), 'y');
        const std::string expected = d.quote + line + d.footer + "\r\n" + d.quote +
                                     text.substr(static_cast<std::size_t>(len) + 2) + d.footer;
        ASSERT_EQ(expected, SHAPE(text, d.quote, d.footer, 0, kNone))
            << "line " << len << " rest " << rest;
      }
    }
  }
}

// A plain transcription of the shaping steps, character by character, to
// compare the real walk (which scans for CR bytes block by block and looks
// at double-byte characters only where the column cuts) against on many
// generated inputs.
struct RefCodePage {
  bool shift_jis;
  bool IsLead(unsigned char b) const {
    return shift_jis && ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC));
  }
  bool IsTrail(unsigned char b) const {
    return shift_jis && ((b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC));
  }
};

bool ReferenceShape(const std::string& t, const std::string& q, const std::string& f, int w,
                    int r, RefCodePage cp, std::string* out) {
  const bool decorated = !q.empty() || !f.empty();
  const long long n = static_cast<long long>(w) - static_cast<long long>(q.size() + f.size());
  if (w != 0 && n <= 0) return false;
  if (!decorated && w == 0 && r != kOk && r != kInyo) {
    *out = t;
    return true;
  }
  const std::size_t len = t.size();
  auto at = [&](std::size_t i) { return i < len ? static_cast<unsigned char>(t[i]) : 0; };
  *out = q;
  std::size_t p = 0;
  for (;;) {
    const std::size_t start = p;
    for (;;) {
      if (at(p) == 0 || at(p) == '\r') break;
      if (w != 0 && static_cast<long long>(p - start) >= n) break;
      if (cp.IsLead(at(p)) && cp.IsTrail(at(p + 1))) {
        if (w != 0 && static_cast<long long>(p - start) + 2 > n && p != start) break;
        p += 2;
      } else {
        p += 1;
      }
    }
    *out += t.substr(start, p - start) + f;
    if (at(p) == '\r') {
      *out += "\r\n" + q;
      p += at(p + 1) == '\n' ? 2 : 1;
      if (p >= len) {
        *out += f;
        if (decorated && (r == kOk || r == kInyo)) *out += "\r\n";
        return true;
      }
    } else if (at(p) == 0) {
      if (r == kOk || (r == kInyo && decorated)) *out += "\r\n";
      return true;
    } else {
      *out += "\r\n" + q;
    }
  }
}

TEST(Shape, AgreesWithAPlainTranscriptionOnGeneratedTexts) {
  std::mt19937 rng(20240605);
  auto pick = [&](int count) { return static_cast<int>(rng() % static_cast<unsigned>(count)); };
  const char alphabet[] = {'a', 'b', ' ', '\r', '\n', '\x82', '\xA0', '\x40', '0', '\xE0',
                           '\xFC', '\xFD', '\x7F', '\x80', '\x9F', '\x5C', '\x0A'};
  // Quotes and footers mostly short, sometimes long, with every length
  // in between.
  auto decoration = [&](const char* bytes) {
    const int len = pick(4) == 0 ? pick(40) : pick(4);
    std::string d;
    for (int i = 0; i < len; ++i) d += bytes[pick(static_cast<int>(std::strlen(bytes)))];
    return d;
  };
  int checked = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const int pieces = pick(6);
    for (int i = 0; i < pieces; ++i) {
      const int kind = pick(8);
      if (kind < 2) {
        text.append(static_cast<std::size_t>(pick(30)), static_cast<char>('c' + pick(20)));
      } else if (kind == 2) {  // a long line, with double-byte characters in it
        const int len = pick(300);
        for (int j = 0; j < len; ++j) text += pick(9) == 0 ? '\x82' : static_cast<char>('A' + pick(60));
      } else {
        const int len = pick(12);
        for (int j = 0; j < len; ++j) text += alphabet[pick(static_cast<int>(sizeof alphabet))];
      }
    }
    const std::string quote = decoration("> |\x82\xA0");
    const std::string footer = decoration(" <|\n");
    const char* q = quote.c_str();
    const char* f = footer.c_str();
    const int room = static_cast<int>(quote.size() + footer.size());
    const int w = pick(3) == 0 ? 0 : pick(2) == 0 ? pick(14) + 1 : room + pick(40) - 2;
    const int r = pick(5);
    const bool sjis = pick(2) == 0;
    CodePageScope cp(sjis ? 932 : 1252);
    std::string expected;
    if (!ReferenceShape(text, q, f, w, r, RefCodePage{sjis}, &expected)) {
      ASSERT_EQ(-1, ShapeLength(text.c_str(), q, f, w, r));
      continue;
    }
    const std::string actual = SHAPE(text, q, f, w, r);
    ASSERT_EQ(expected, actual) << "text '" << text << "' quote '" << q << "' footer '" << f
                                << "' wrap " << w << " rule " << r << " cp "
                                << (sjis ? 932 : 1252);
    ++checked;
  }
  EXPECT_GT(checked, 12000);
}

}  // namespace

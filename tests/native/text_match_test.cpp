// The find bar's matcher, in code page 932 unless a case says otherwise.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "output/shape.h"
#include "output/text_match.h"

TEST(TextMatch, CaseBoundariesAndEdgesAsATable) {
  struct Case {
    unsigned codePage;
    const char* pattern;
    std::string text;
    bool found;
  };
  const Case cases[] = {
      {932, "abc", "xxabcxx", true},
      {932, "abc", "xABCx", true},          // no upper-case letter: either case
      {932, "Abc", "xabcx", false},         // one upper-case letter: exactly
      {932, "Abc", "xAbcx", true},
      {932, "ab", "abz", true},             // at the start
      {932, "yz", "xyz", true},             // at the end
      {932, "xyz", "yz", false},            // longer than the text
      {932, "a", "", false},
      {932, "a", "a", true},
      {932, "", "abc", false},              // an empty pattern finds nothing
      {932, "a", "\x83\x61", false},        // ヂ: its second byte is no letter
      {932, "A", "\x83\x61", false},
      {932, "a", "\x83\x61" "a", true},
      {932, "b", "\x83\x62\x83\x62", false},
      {932, "\x83\x61", "\x83\x41", false},  // a second byte never changes case
      {932, "\x83\x61", "x\x83\x61", true},
      {932, "\x83\x65\x83\x58\x83\x67", "\x82\xb1\x82\xea\x83\x65\x83\x58\x83\x67", true},
      {932, "\x61\x83", "\x83\x61\x83\x61", false},  // no match from a second byte
      {0, "a", "\x83\x61", true},           // no double-byte characters at all
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " in " + c.text);
    SetShapeCodePage(c.codePage);
    EXPECT_EQ(c.found, TextMatcher(c.pattern).Matches(c.text.data(), c.text.size()));
  }
  SetShapeCodePage(0);
}

// A Unicode copy is matched in UTF-8, whatever the code page: its bytes
// are never walked as the code page's double-byte characters.
TEST(TextMatch, Utf8TextsByTheirOwnCharacters) {
  struct Case {
    const char* pattern;
    const char* text;
    bool found;
  };
  const Case cases[] = {
      {"caf\xc3\xa9", "un caf\xc3\xa9!", true},
      {"caf", "CAF\xc3\xa9", true},
      {"CAF", "caf\xc3\xa9", false},
      {"\xc3\xa9", "\xc3\x89", false},       // é is no ASCII letter: exactly
      {"a", "\xe3\x81\x82" "a", true},       // あa: in code page 932 the a would be a second byte
      {"\xf0\x9f\x98\x80", "x\xf0\x9f\x98\x80", true},
  };
  SetShapeCodePage(932);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " in " + c.text);
    EXPECT_EQ(c.found, TextMatcher(c.pattern, true).Matches(c.text, std::strlen(c.text)));
  }
  SetShapeCodePage(0);
}

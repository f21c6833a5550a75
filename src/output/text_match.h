// Finding a pattern in a history text, as the find bar does: the whole
// text, ASCII letters of either case unless the pattern holds an
// upper-case one, and a match only where a character begins (in code
// page 932 the second byte of a double-byte character is never taken for
// a letter). The text and the pattern are in the code page, the shaping
// one (shape.h), or both in UTF-8 (a Unicode copy).
#pragma once

#include <cstddef>
#include <string>

#include "store/match_start.h"

class TextMatcher {
 public:
  // `pattern`: bytes in the code page, or in UTF-8 when `utf8`.
  explicit TextMatcher(std::string pattern, bool utf8 = false);

  const std::string& Pattern() const { return pattern_; }
  bool Empty() const { return pattern_.empty(); }
  // Whether the n bytes of text hold the pattern (an empty one: never).
  bool Matches(const char* text, std::size_t n) const;
  // The places where a match can begin: the pattern's first two bytes,
  // in either case where the case is free. Only for a pattern.
  MatchStart Starts() const;

 private:
  friend class TextStream;
  // Whether a match begins in [begin, end), given that a character
  // begins at *boundary (at or after begin); the walk leaves *boundary
  // at a character start at or after the last place looked at.
  bool Find(const unsigned char* begin, const unsigned char* end,
            const unsigned char** boundary) const;
  bool MatchesAt(const unsigned char* at) const;
  // Whether the byte may be a later byte of a character.
  bool MayContinue(unsigned char byte) const;
  // The first character start at or after `to`, walking from the start
  // `from`; the character there must end before `end`.
  const unsigned char* WalkTo(const unsigned char* from, const unsigned char* to,
                              const unsigned char* end) const;
  std::size_t Bytes(const unsigned char* c, const unsigned char* end) const;

  std::string pattern_;
  bool utf8_ = false;
  bool exactCase_ = false;
  // Per byte of the pattern: a letter that may match either case (never
  // the second byte of a double-byte character).
  std::string foldable_;
  // The first byte in both cases (the same twice when it is no letter).
  unsigned char first_ = 0, firstOther_ = 0;
  MatchStarts starts_;
};

// The same search through a text that comes in pieces of any size, as a
// very long one is read: a match that crosses from one piece into the
// next is found, and no more than a piece and the pattern's length is
// held at once.
class TextStream {
 public:
  explicit TextStream(const TextMatcher& matcher) : matcher_(matcher) {}
  void Feed(const char* piece, std::size_t n);
  bool Found() const { return found_; }

 private:
  const TextMatcher& matcher_;
  std::string window_;
  std::size_t boundary_ = 0;  // a character start, from the window's start
  bool found_ = false;
};

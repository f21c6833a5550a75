// Whether a history record holds what the find bar looks for: the
// pattern in the record's Unicode copy where it keeps one, else in its
// code-page text. A record is looked at whole, or in pieces of any size
// when it is too long to hold at once.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "output/text_match.h"

class RecordMatcher {
 public:
  // A null `codePage`: the code page cannot hold the pattern, and only
  // Unicode copies can hold it. Both matchers must outlive this one.
  RecordMatcher(const TextMatcher* codePage, const TextMatcher& utf8)
      : codePage_(codePage), utf8_(utf8) {}

  bool Matches(const char* text, std::size_t n) const;

 private:
  friend class RecordStream;
  const TextMatcher* codePage_;
  const TextMatcher& utf8_;
};

// The same verdict for a record fed a piece at a time, in order: the
// code-page text up to the zero byte, then the tag, then the Unicode
// copy, which counts only when it turns out well-formed to its end.
class RecordStream {
 public:
  explicit RecordStream(const RecordMatcher& matcher);
  void Feed(const char* piece, std::size_t n);
  // Once every piece has been fed.
  bool Matches() const;

 private:
  void FeedUtf8(const char* piece, std::size_t n);

  enum Phase { kRendering, kTag, kUtf8, kNoCopy };
  Phase phase_ = kRendering;
  std::optional<TextStream> rendering_;
  TextStream utf8_;
  std::string tag_;
  bool wellFormed_ = true;
  std::string cut_;  // a UTF-8 character that goes on in the next piece
};

// Where a found text can begin: the places a search of the history's
// texts needs to look at more closely. A search through a million entries
// spends most of its time getting past the places where nothing can
// begin, so they are skipped sixteen bytes at a time where the processor
// allows.
#pragma once

#include <cstddef>

// One way a match can begin (a search for a text in two encodings has two).
struct MatchStart {
  // A place holds one of the first bytes and, when `pair`, one of the
  // second bytes right after it (the two of each may be the same byte).
  unsigned char first[2] = {};
  unsigned char second[2] = {};
  bool pair = false;
};

// Places where a match can begin in any of up to two ways.
struct MatchStarts {
  MatchStart way[2];
  int ways = 1;
};

// The first place in [from, end) where a match can begin, or end. The
// second byte of a pair must lie before end too.
const char* NextMatchStart(const char* from, const char* end, const MatchStarts& starts);
// The last place in [begin, before) where a match can begin, or nullptr;
// the bytes up to end (at least before) are there for the second byte.
const char* LastMatchStart(const char* begin, const char* before, const char* end,
                           const MatchStarts& starts);

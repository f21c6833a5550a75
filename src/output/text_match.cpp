#include "output/text_match.h"

#include <cstring>
#include <utility>

#include "output/shape.h"

namespace {

bool IsUpper(unsigned char c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(unsigned char c) { return c >= 'a' && c <= 'z'; }
unsigned char OtherCase(unsigned char c) {
  if (IsUpper(c)) return static_cast<unsigned char>(c - 'A' + 'a');
  if (IsLower(c)) return static_cast<unsigned char>(c - 'a' + 'A');
  return c;
}

// The first place from `from` that holds either byte, or end.
const unsigned char* NextOf(const unsigned char* from, const unsigned char* end, unsigned char a,
                            unsigned char b) {
  const size_t n = static_cast<size_t>(end - from);
  const void* x = std::memchr(from, a, n);
  if (a == b) return x ? static_cast<const unsigned char*>(x) : end;
  // The other case only up to the first one found.
  const size_t before = x ? static_cast<size_t>(static_cast<const unsigned char*>(x) - from) : n;
  const void* y = std::memchr(from, b, before);
  if (y) return static_cast<const unsigned char*>(y);
  return x ? static_cast<const unsigned char*>(x) : end;
}

}  // namespace

// The bytes of the character at c: by the code page, or by its UTF-8 lead
// byte (never past the end).
std::size_t TextMatcher::Bytes(const unsigned char* c, const unsigned char* end) const {
  if (!utf8_) return CharacterBytes(c, end);
  const std::size_t n = *c >= 0xF0 ? 4 : *c >= 0xE0 ? 3 : *c >= 0xC0 ? 2 : 1;
  return n < static_cast<std::size_t>(end - c) ? n : static_cast<std::size_t>(end - c);
}

TextMatcher::TextMatcher(std::string pattern, bool utf8)
    : pattern_(std::move(pattern)), utf8_(utf8) {
  const auto* p = reinterpret_cast<const unsigned char*>(pattern_.data());
  const unsigned char* end = p + pattern_.size();
  foldable_.assign(pattern_.size(), 0);
  for (const unsigned char* c = p; c < end;) {
    const size_t bytes = Bytes(c, end);
    if (bytes == 1) {
      exactCase_ = exactCase_ || IsUpper(*c);
      foldable_[static_cast<size_t>(c - p)] = IsUpper(*c) || IsLower(*c);
    }
    c += bytes;
  }
  if (exactCase_) foldable_.assign(pattern_.size(), 0);
  if (pattern_.empty()) return;
  first_ = static_cast<unsigned char>(pattern_[0]);
  firstOther_ = foldable_[0] ? OtherCase(first_) : first_;
}

MatchStart TextMatcher::Starts() const {
  MatchStart s;
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(pattern_[i]); };
  s.first[0] = first_;
  s.first[1] = firstOther_;
  s.pair = pattern_.size() >= 2;
  if (s.pair) {
    s.second[0] = byte(1);
    s.second[1] = foldable_[1] ? OtherCase(byte(1)) : byte(1);
  }
  return s;
}

// The bytes from `at` on equal the pattern's; letters of either case when
// the case is free. Matching starts on a character boundary, so the text's
// characters line up with the pattern's: a letter of the pattern meets a
// byte that is no second byte either, and a second byte is compared
// exactly.
bool TextMatcher::MatchesAt(const unsigned char* at) const {
  const auto* p = reinterpret_cast<const unsigned char*>(pattern_.data());
  for (size_t i = 0; i < pattern_.size(); ++i) {
    if (at[i] == p[i]) continue;
    if (!foldable_[i] || at[i] != OtherCase(p[i])) return false;
  }
  return true;
}

// The pattern's first byte is looked for with memchr; a place found is
// taken only when a character begins there, which the walk from the last
// known character start tells. The walk only goes forward, so each text
// is walked at most once, and a text without the first byte not at all.
bool TextMatcher::Matches(const char* text, std::size_t n) const {
  if (pattern_.empty() || n < pattern_.size()) return false;
  const auto* begin = reinterpret_cast<const unsigned char*>(text);
  const unsigned char* end = begin + n;
  const unsigned char* last = end - pattern_.size();  // the last place a match can begin
  const unsigned char* boundary = begin;
  for (const unsigned char* at = begin; at <= last; ++at) {
    at = NextOf(at, last + 1, first_, firstOther_);
    if (at > last) return false;
    while (boundary < at) boundary += Bytes(boundary, end);
    if (boundary == at && MatchesAt(at)) return true;
  }
  return false;
}

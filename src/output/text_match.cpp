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

}  // namespace

// The bytes of the character at c: by the code page, or by its UTF-8 lead
// byte (never past the end).
std::size_t TextMatcher::Bytes(const unsigned char* c, const unsigned char* end) const {
  if (!utf8_) return CharacterBytes(c, end);
  const std::size_t n = *c >= 0xF0 ? 4 : *c >= 0xE0 ? 3 : *c >= 0xC0 ? 2 : 1;
  return n < static_cast<std::size_t>(end - c) ? n : static_cast<std::size_t>(end - c);
}

// A byte that cannot go on a character begins one, so the walk starts
// from the last such byte up to `to`: a text is walked only over the few
// bytes before a place, not from its start, and a long one not a
// character at a time.
const unsigned char* TextMatcher::WalkTo(const unsigned char* from, const unsigned char* to,
                                         const unsigned char* end) const {
  if (from >= to) return from;
  const unsigned char* start = to;
  while (start > from && MayContinue(*start)) --start;
  while (start < to) start += Bytes(start, end);
  return start;
}

bool TextMatcher::MayContinue(unsigned char byte) const {
  return utf8_ ? (byte & 0xC0) == 0x80 : MayFollowLeadByte(byte);
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
  starts_.way[0] = Starts();
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
bool TextMatcher::Find(const unsigned char* begin, const unsigned char* end,
                       const unsigned char** boundary) const {
  if (pattern_.empty() || static_cast<std::size_t>(end - begin) < pattern_.size()) return false;
  const unsigned char* last = end - pattern_.size();  // the last place a match can begin
  for (const unsigned char* at = begin; at <= last; ++at) {
    // The pattern's first two bytes, sixteen places at a time.
    at = reinterpret_cast<const unsigned char*>(NextMatchStart(
        reinterpret_cast<const char*>(at), reinterpret_cast<const char*>(end), starts_));
    if (at > last) return false;
    // Every character walked over ends before `at`, so its bytes are
    // all there however the text was cut.
    *boundary = WalkTo(*boundary, at, end);
    if (*boundary == at && MatchesAt(at)) return true;
  }
  return false;
}

bool TextMatcher::Matches(const char* text, std::size_t n) const {
  const auto* begin = reinterpret_cast<const unsigned char*>(text);
  const unsigned char* boundary = begin;
  return Find(begin, begin + n, &boundary);
}

// The window holds the bytes from which a match may still begin (the
// pattern's length less one), and enough before them for the character
// walk to see a whole character (three bytes at least): a character
// walked over always ends inside the window.
void TextStream::Feed(const char* piece, std::size_t n) {
  if (found_ || matcher_.Empty()) return;
  window_.append(piece, n);
  const auto* begin = reinterpret_cast<const unsigned char*>(window_.data());
  const unsigned char* end = begin + window_.size();
  const unsigned char* boundary = begin + boundary_;
  if (matcher_.Find(begin, end, &boundary)) {
    found_ = true;
    std::string().swap(window_);
    return;
  }
  const std::size_t keep = matcher_.Pattern().size() > 4 ? matcher_.Pattern().size() - 1 : 3;
  if (window_.size() <= keep) {
    boundary_ = static_cast<std::size_t>(boundary - begin);
    return;
  }
  const unsigned char* cut = end - keep;
  boundary = matcher_.WalkTo(boundary, cut, end);
  boundary_ = static_cast<std::size_t>(boundary - cut);
  window_.erase(0, static_cast<std::size_t>(cut - begin));
}

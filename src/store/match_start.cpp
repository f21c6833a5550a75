#include "store/match_start.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool IsOneOf(unsigned char c, const unsigned char (&pair)[2]) { return c == pair[0] || c == pair[1]; }

bool BeginsAt(const char* at, const char* end, const MatchStart& s) {
  return IsOneOf(static_cast<unsigned char>(*at), s.first) &&
         (!s.pair || (at + 1 < end && IsOneOf(static_cast<unsigned char>(at[1]), s.second)));
}

bool BeginsAt(const char* at, const char* end, const MatchStarts& s) {
  return BeginsAt(at, end, s.way[0]) || (s.ways > 1 && BeginsAt(at, end, s.way[1]));
}

#if defined(__SSE2__)
// One bit per byte of the sixteen at `at` where a match can begin; the
// seventeenth byte must be there when `pair`.
int Starts16(const char* at, const MatchStart& s) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  const int first =
      _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(static_cast<char>(s.first[0]))),
                                     _mm_cmpeq_epi8(v, _mm_set1_epi8(static_cast<char>(s.first[1])))));
  // Most blocks hold no first byte at all: the second is looked at only
  // where one is.
  if (first == 0 || !s.pair) return first;
  const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 1));
  return first &
         _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(w, _mm_set1_epi8(static_cast<char>(s.second[0]))),
                                        _mm_cmpeq_epi8(w, _mm_set1_epi8(static_cast<char>(s.second[1])))));
}

bool AnyPair(const MatchStarts& s) { return s.way[0].pair || (s.ways > 1 && s.way[1].pair); }

int Starts16(const char* at, const MatchStarts& s) {
  return Starts16(at, s.way[0]) | (s.ways > 1 ? Starts16(at, s.way[1]) : 0);
}
#endif

}  // namespace

const char* NextMatchStart(const char* from, const char* end, const MatchStarts& s) {
  const char* at = from;
#if defined(__SSE2__)
  for (; end - at >= 17; at += 16) {
    if (const int hits = Starts16(at, s)) return at + __builtin_ctz(static_cast<unsigned>(hits));
  }
#endif
  for (; at < end; ++at)
    if (BeginsAt(at, end, s)) return at;
  return end;
}

const char* LastMatchStart(const char* begin, const char* before, const char* end,
                           const MatchStarts& s) {
  const char* at = before;
#if defined(__SSE2__)
  // The last byte can begin no pair; then each sixteen places before `at`
  // have the byte after them there.
  if (AnyPair(s) && at == end && at > begin) {
    --at;
    if (BeginsAt(at, end, s)) return at;
  }
  for (; at - begin >= 16; at -= 16) {
    if (const int hits = Starts16(at - 16, s))
      return at - 16 + (31 - __builtin_clz(static_cast<unsigned>(hits)));
  }
#endif
  while (at > begin) {
    --at;
    if (BeginsAt(at, end, s)) return at;
  }
  return nullptr;
}

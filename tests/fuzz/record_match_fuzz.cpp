// Whatever a record holds and wherever its pieces are cut, the find bar's
// verdict on it read in pieces is its verdict on it whole. The input's
// first bytes choose the pattern, the pieces and the code page.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "output/record_match.h"
#include "output/shape.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const std::size_t patternBytes = 1 + data[0] % 6;
  const std::size_t most = 1 + data[1] % 64;
  SetShapeCodePage(data[2] & 1 ? 932 : 0);
  data += 3;
  size -= 3;
  if (size < patternBytes) return 0;
  const std::string pattern(reinterpret_cast<const char*>(data), patternBytes);
  const char* record = reinterpret_cast<const char*>(data + patternBytes);
  const std::size_t n = size - patternBytes;
  const TextMatcher codePage(pattern);
  const TextMatcher utf8(pattern, true);
  const RecordMatcher matcher(&codePage, utf8);
  RecordStream stream(matcher);
  // Pieces of the sizes the record's own bytes give, up to `most`.
  for (std::size_t at = 0; at < n;) {
    const std::size_t piece = std::min(n - at, 1 + static_cast<unsigned char>(record[at]) % most);
    stream.Feed(record + at, piece);
    at += piece;
  }
  if (stream.Matches() != matcher.Matches(record, n)) std::abort();
  return 0;
}

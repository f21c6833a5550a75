// Fuzzes text shaping over the text, quote prefix, footer, wrap column,
// line-end rule and code page. Checks that measuring, writing and
// appending agree, that nothing is read or written outside exact-size heap
// blocks (the sanitizers watch those), that wrapped lines keep to the
// column, and that taking the prefixes, footers and the breaks that
// wrapping inserted away gives back the lines of the text.
//
// Input layout: code page, rule, wrap, lengths of quote and footer (3 bits
// each), the quote bytes, the footer bytes, then the text up to the first
// zero byte.
#include "output/shape.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#define FUZZ_CHECK(cond, ...)                                          \
  do {                                                                 \
    if (!(cond)) {                                                     \
      std::fprintf(stderr, "check failed: %s: ", #cond);               \
      std::fprintf(stderr, __VA_ARGS__);                               \
      std::fprintf(stderr, "\n");                                      \
      std::abort();                                                    \
    }                                                                  \
  } while (0)

namespace {

struct CodePage {
  unsigned number;
  bool IsLead(unsigned char b) const {
    switch (number) {
      case 932: return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
      case 936: case 949: case 950: return b >= 0x81 && b <= 0xFE;
      default: return false;
    }
  }
  bool IsTrail(unsigned char b) const {
    switch (number) {
      case 932: return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
      case 936: return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFE);
      case 949: return (b >= 0x41 && b <= 0x5A) || (b >= 0x61 && b <= 0x7A) || (b >= 0x81 && b <= 0xFE);
      case 950: return (b >= 0x40 && b <= 0x7E) || (b >= 0xA1 && b <= 0xFE);
      default: return false;
    }
  }
  // Whether a double-byte character starts at s[i] (s[size] counts as 0).
  bool DoubleAt(const std::string& s, std::size_t i) const {
    return i + 1 < s.size() && IsLead(static_cast<unsigned char>(s[i])) &&
           IsTrail(static_cast<unsigned char>(s[i + 1]));
  }
};

// A string in a heap block of exactly its size plus the terminator.
std::unique_ptr<char[]> ExactCopy(const std::string& s) {
  std::unique_ptr<char[]> p(new char[s.size() + 1]);
  std::memcpy(p.get(), s.c_str(), s.size() + 1);
  return p;
}

// Bytes for a quote or footer: no zero byte (it would end the string) and
// no CR, so that every CR in a shaped text starts a line break.
std::string TakeDecoration(const std::uint8_t*& data, std::size_t& size, std::size_t want) {
  std::string s;
  while (want > 0 && size > 0) {
    if (*data != 0 && *data != '\r') s += static_cast<char>(*data);
    ++data;
    --size;
    --want;
  }
  return s;
}

void CheckShape(const std::string& text, const std::string& quote, const std::string& footer,
                int wrap, int rule, CodePage cp) {
  const std::unique_ptr<char[]> t = ExactCopy(text);
  const std::unique_ptr<char[]> q = ExactCopy(quote);
  const std::unique_ptr<char[]> f = ExactCopy(footer);
  const long long n = static_cast<long long>(wrap) - static_cast<long long>(quote.size()) -
                      static_cast<long long>(footer.size());
  const long long length = ShapeLength(t.get(), q.get(), f.get(), wrap, rule);

  const std::string before = "ab";
  if (length < 0) {
    FUZZ_CHECK(length == -1, "length %lld", length);
    FUZZ_CHECK(wrap != 0 && n <= 0, "-1 with wrap %d and room %lld", wrap, n);
    std::unique_ptr<char[]> out = ExactCopy(before);
    FUZZ_CHECK(ShapeAppend(t.get(), out.get(), q.get(), f.get(), wrap, rule) == -1, "append");
    FUZZ_CHECK(before == out.get(), "append changed the output on -1");
    return;
  }
  FUZZ_CHECK(wrap == 0 || n > 0, "length %lld with wrap %d and room %lld", length, wrap, n);
  if (length > (1LL << 26)) return;  // only possible with huge inputs

  const std::size_t size = static_cast<std::size_t>(length);
  std::unique_ptr<char[]> out(new char[size + 1]);
  const long long written = ShapeWrite(t.get(), out.get(), q.get(), f.get(), wrap, rule);
  FUZZ_CHECK(written == length, "measured %lld, wrote %lld", length, written);
  FUZZ_CHECK(out[size] == '\0', "no terminator");
  const std::string shaped(out.get(), size);

  std::unique_ptr<char[]> appended(new char[before.size() + size + 1]);
  std::memcpy(appended.get(), before.c_str(), before.size() + 1);
  FUZZ_CHECK(ShapeAppend(t.get(), appended.get(), q.get(), f.get(), wrap, rule) == 0, "append");
  FUZZ_CHECK(before + shaped == std::string(appended.get(), before.size() + size) &&
                 appended[before.size() + size] == '\0',
             "appending differs from writing");

  const bool decorated = !quote.empty() || !footer.empty();
  const bool lf_add = rule == kShapeLfOk || rule == kShapeLfInyo;
  if (!decorated && wrap == 0 && !lf_add) {
    FUZZ_CHECK(shaped == text, "the unchanged case changed the text");
    return;
  }

  // The lines of the text: a CR, with the LF after it if there is one,
  // ends a line; a line end just before the terminator is the text's last.
  std::vector<std::string> lines(1);
  bool ends_in_break = false;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == '\r') {
      lines.emplace_back();
      i += i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
      ends_in_break = i >= text.size();
    } else {
      lines.back() += text[i];
      ++i;
    }
  }

  // The line break added at the end, by the line-end rule.
  std::string body = shaped;
  const bool added = ends_in_break ? decorated && lf_add
                                   : rule == kShapeLfOk || (rule == kShapeLfInyo && decorated);
  if (added) {
    FUZZ_CHECK(body.size() >= 2 && body.compare(body.size() - 2, 2, "\r\n") == 0,
               "no line break added at the end");
    body.resize(body.size() - 2);
  }

  // Output lines: every CR starts a CR LF, and each line is quote, a piece
  // of a text line, footer.
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (;;) {
    const std::size_t cr = body.find('\r', start);
    const std::string line = body.substr(start, cr == std::string::npos ? cr : cr - start);
    FUZZ_CHECK(line.size() >= quote.size() + footer.size() &&
                   line.compare(0, quote.size(), quote) == 0 &&
                   line.compare(line.size() - footer.size(), footer.size(), footer) == 0,
               "output line %zu lacks quote or footer", pieces.size());
    const std::string piece =
        line.substr(quote.size(), line.size() - quote.size() - footer.size());
    if (wrap != 0 && line.size() > static_cast<std::size_t>(wrap)) {
      FUZZ_CHECK(n == 1 && piece.size() == 2 && cp.DoubleAt(piece, 0),
                 "output line %zu holds %zu bytes, wrap %d", pieces.size(), line.size(), wrap);
    }
    pieces.push_back(piece);
    if (cr == std::string::npos) break;
    FUZZ_CHECK(cr + 1 < body.size() && body[cr + 1] == '\n', "CR without LF in the output");
    start = cr + 2;
  }

  // Joining the pieces that wrapping made gives back each text line; a cut
  // falls only between characters and only where the column is full.
  std::size_t k = 0;
  for (std::size_t li = 0; li < lines.size(); ++li) {
    const std::string& line = lines[li];
    std::size_t at = 0;  // bytes of the line matched so far
    std::size_t boundary = 0;  // next character boundary at or after `at`
    do {
      FUZZ_CHECK(k < pieces.size(), "text line %zu is missing from the output", li);
      const std::string& piece = pieces[k++];
      FUZZ_CHECK(line.compare(at, piece.size(), piece) == 0 && at + piece.size() <= line.size(),
                 "output piece %zu is not the next part of text line %zu", k - 1, li);
      FUZZ_CHECK(line.empty() || !piece.empty(), "empty piece in text line %zu", li);
      at += piece.size();
      while (boundary < at) boundary += cp.DoubleAt(line, boundary) ? 2 : 1;
      FUZZ_CHECK(boundary == at, "a character of text line %zu was split", li);
      if (at < line.size()) {
        FUZZ_CHECK(wrap != 0, "text line %zu broken without wrapping", li);
        const long long got = static_cast<long long>(piece.size());
        const bool full = got == n || (got == n - 1 && cp.DoubleAt(line, at)) ||
                          (n == 1 && got == 2);
        FUZZ_CHECK(full, "text line %zu cut at %lld bytes with room %lld", li, got, n);
      }
    } while (at < line.size());
  }
  FUZZ_CHECK(k == pieces.size(), "%zu output lines, %zu expected", pieces.size(), k);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  static const unsigned kCodePages[] = {0, 932, 936, 949, 950, 1252};
  const unsigned code_page = kCodePages[data[0] % 6];
  const int rule = data[1] % 5;  // 0 and 4 are out of range: they act as lfnone
  int wrap = 0;
  switch (data[2] >> 6) {
    case 0: wrap = 0; break;
    case 3: wrap = (data[2] & 63) * 40 + 1; break;
    default: wrap = (data[2] & 63) - 2; break;
  }
  const std::size_t quote_len = data[3] & 7;
  const std::size_t footer_len = (data[3] >> 3) & 7;
  data += 4;
  size -= 4;
  const std::string quote = TakeDecoration(data, size, quote_len);
  const std::string footer = TakeDecoration(data, size, footer_len);
  std::string text(reinterpret_cast<const char*>(data), size);
  text.resize(std::strlen(text.c_str()));

  SetShapeCodePage(code_page);
  CheckShape(text, quote, footer, wrap, rule, CodePage{code_page});
  return 0;
}

#include "output/shape.h"

#include <cstddef>
#include <cstring>

namespace {

// Which bytes start a double-byte character, and which may follow such a
// lead byte as its second byte. All zero: no double-byte characters.
struct DbcsTables {
  unsigned char lead[256];
  unsigned char trail[256];
  bool any;
};

DbcsTables g_dbcs = {};
unsigned g_code_page = 0;

void Mark(unsigned char* table, int first, int last) {
  for (int b = first; b <= last; ++b) table[b] = 1;
}

// The shaping arguments, checked and measured once per text.
struct Params {
  const char* quote;
  std::size_t quote_len;
  const char* footer;
  std::size_t footer_len;
  std::ptrdiff_t n;            // text bytes per output line; 0: no wrapping
  bool unchanged;              // nothing to add: the text is copied as it is
  bool break_after_last_line;  // when the text does not end in a line break
  bool break_after_break;      // when it does
};

// Returns false when the wrap column leaves no room for text.
bool MakeParams(const char* quote, const char* footer, int wrap, int rule, Params* prm) {
  prm->quote = quote ? quote : "";
  prm->footer = footer ? footer : "";
  prm->quote_len = std::strlen(prm->quote);
  prm->footer_len = std::strlen(prm->footer);
  prm->n = 0;
  if (wrap != 0) {
    // Signed and wide, so that a negative wrap or a long quote cannot turn
    // into a large unsigned room.
    const long long n = static_cast<long long>(wrap) - static_cast<long long>(prm->quote_len) -
                        static_cast<long long>(prm->footer_len);
    if (n <= 0) return false;
    prm->n = static_cast<std::ptrdiff_t>(n);
  }
  const bool decorated = prm->quote_len != 0 || prm->footer_len != 0;
  const bool lf_ok = rule == kShapeLfOk;
  const bool lf_inyo = rule == kShapeLfInyo;
  prm->unchanged = !decorated && prm->n == 0 && !lf_ok && !lf_inyo;
  prm->break_after_last_line = lf_ok || (lf_inyo && decorated);
  prm->break_after_break = decorated && (lf_ok || lf_inyo);
  return true;
}

// Whether a double-byte character starts at limit - 1 and so crosses the
// column at limit. Where characters start is only known by walking from a
// known start, but a byte that is not a lead byte always ends a character
// (alone or as a second byte), so the walk can begin just after the last
// such byte before limit, or at the piece's start. That keeps the work
// near the column however long the line is. Reads stay in [start, limit].
bool CrossesColumn(const unsigned char* start, const unsigned char* limit) {
  const unsigned char* lead = g_dbcs.lead;
  if (!lead[limit[-1]]) return false;
  const unsigned char* i = limit - 1;
  while (i > start && lead[i[-1]]) --i;
  const unsigned char* trail = g_dbcs.trail;
  while (i < limit) i += (lead[*i] && trail[i[1]]) ? 2 : 1;
  return i > limit;
}

// Where the piece of a line that starts at `start` ends when the column
// allows it to run to `limit`, which lies before the end of its line: at
// limit, or before a double-byte character that would cross the column.
// When that character is all the piece would hold (one byte of room), it
// is taken whole, as splitting it would be worse than a long line. No
// CR and no terminator is a second byte, so the cut stays inside the line.
const char* CutPoint(const char* start, const char* limit) {
  const unsigned char* s = reinterpret_cast<const unsigned char*>(start);
  const unsigned char* l = reinterpret_cast<const unsigned char*>(limit);
  if (!g_dbcs.any || !CrossesColumn(s, l)) return limit;
  return limit - 1 == start ? limit + 1 : limit - 1;
}

// The two ends of one walk: measuring only adds up what writing copies,
// so the two cannot disagree.
class CountSink {
 public:
  void Put(const char*, std::size_t len) { total_ += static_cast<long long>(len); }
  long long total() const { return total_; }

 private:
  long long total_ = 0;
};

class WriteSink {
 public:
  explicit WriteSink(char* out) : pos_(out) {}
  void Put(const char* p, std::size_t len) {
    std::memcpy(pos_, p, len);
    pos_ += len;
  }
  char* pos() const { return pos_; }

 private:
  char* pos_;
};

const char kCrLf[] = "\r\n";

// Ends an output line and starts the next one.
template <class Sink>
void PutBetweenLines(const Params& prm, Sink& sink) {
  sink.Put(prm.footer, prm.footer_len);
  sink.Put(kCrLf, 2);
  sink.Put(prm.quote, prm.quote_len);
}

// Ends the last output line, with the line break the rule adds.
template <class Sink>
void PutLast(const Params& prm, bool add_break, Sink& sink) {
  sink.Put(prm.footer, prm.footer_len);
  if (add_break) sink.Put(kCrLf, 2);
}

template <class Sink>
void Shape(const char* text, const Params& prm, Sink& sink) {
  const std::size_t len = std::strlen(text);
  if (prm.unchanged) {
    sink.Put(text, len);
    return;
  }
  const char* const end = text + len;
  const char* line = text;
  sink.Put(prm.quote, prm.quote_len);
  for (;;) {
    const void* found = std::memchr(line, '\r', static_cast<std::size_t>(end - line));
    const char* const cr = found ? static_cast<const char*>(found) : end;
    // The line [line, cr), cut into pieces by the wrap column.
    while (prm.n != 0 && cr - line > prm.n) {
      const char* const cut = CutPoint(line, line + prm.n);
      sink.Put(line, static_cast<std::size_t>(cut - line));
      line = cut;
      if (line == cr) break;  // a double-byte piece reached the line's end
      PutBetweenLines(prm, sink);
    }
    sink.Put(line, static_cast<std::size_t>(cr - line));
    if (cr == end) {
      PutLast(prm, prm.break_after_last_line, sink);
      return;
    }
    PutBetweenLines(prm, sink);
    // A CR LF is one line end; a CR alone is one too, and what follows it
    // starts the next line (taking it along lost a character, or half of
    // a double-byte one). cr[1] is at worst the terminator.
    const char* const next = cr[1] == '\n' ? cr + 2 : cr + 1;
    if (next == end) {
      PutLast(prm, prm.break_after_break, sink);
      return;
    }
    line = next;
  }
}

}  // namespace

void SetShapeCodePage(unsigned code_page) {
  DbcsTables t = {};
  switch (code_page) {
    case 932:  // Shift-JIS
      Mark(t.lead, 0x81, 0x9F);
      Mark(t.lead, 0xE0, 0xFC);
      Mark(t.trail, 0x40, 0x7E);
      Mark(t.trail, 0x80, 0xFC);
      break;
    case 936:  // GBK
      Mark(t.lead, 0x81, 0xFE);
      Mark(t.trail, 0x40, 0x7E);
      Mark(t.trail, 0x80, 0xFE);
      break;
    case 949:  // Unified Hangul Code
      Mark(t.lead, 0x81, 0xFE);
      Mark(t.trail, 0x41, 0x5A);
      Mark(t.trail, 0x61, 0x7A);
      Mark(t.trail, 0x81, 0xFE);
      break;
    case 950:  // Big5
      Mark(t.lead, 0x81, 0xFE);
      Mark(t.trail, 0x40, 0x7E);
      Mark(t.trail, 0xA1, 0xFE);
      break;
    default:
      break;
  }
  for (int b = 0; b < 256; ++b) t.any = t.any || t.lead[b] != 0;
  g_dbcs = t;
  g_code_page = code_page;
}

unsigned ShapeCodePage() { return g_code_page; }

std::size_t CharacterBytes(const unsigned char* p, const unsigned char* end) {
  return g_dbcs.lead[*p] && p + 1 < end && g_dbcs.trail[p[1]] ? 2 : 1;
}

bool MayFollowLeadByte(unsigned char byte) { return g_dbcs.any && g_dbcs.trail[byte]; }

long long ShapeLength(const char* text, const char* quote, const char* footer, int wrap,
                      int rule) {
  Params prm;
  if (!MakeParams(quote, footer, wrap, rule, &prm)) return -1;
  CountSink sink;
  Shape(text, prm, sink);
  return sink.total();
}

long long ShapeWrite(const char* text, char* end, const char* quote, const char* footer,
                     int wrap, int rule) {
  Params prm;
  if (!MakeParams(quote, footer, wrap, rule, &prm)) return -1;
  WriteSink sink(end);
  Shape(text, prm, sink);
  *sink.pos() = '\0';
  return static_cast<long long>(sink.pos() - end);
}

int ShapeAppend(const char* text, char* out, const char* quote, const char* footer, int wrap,
                int rule) {
  return ShapeWrite(text, out + std::strlen(out), quote, footer, wrap, rule) < 0 ? -1 : 0;
}

#include "output/shape_wide.h"

#include "base/utf8.h"
#include "output/shape.h"

namespace {

// The units of the character at i (a surrogate pair is one character).
size_t UnitsAt(const std::u16string& s, size_t i) { return Utf16Units(s.data(), s.size(), i); }
char32_t CharacterAt(const std::u16string& s, size_t i) {
  return Utf16Character(s.data(), s.size(), i);
}

}  // namespace

long long Columns(const std::u16string& s, CharacterWidth width) {
  long long columns = 0;
  for (size_t i = 0; i < s.size(); i += UnitsAt(s, i)) columns += width(CharacterAt(s, i));
  return columns;
}

std::u16string CutToColumns(const std::u16string& text, long long columns, CharacterWidth width) {
  size_t end = 0;
  for (long long used = 0; end < text.size(); end += UnitsAt(text, end)) {
    used += width(CharacterAt(text, end));
    if (used > columns) break;
  }
  return text.substr(0, end);
}

bool ShapeWide(const std::u16string& text, const std::u16string& quote,
               const std::u16string& footer, int wrap, int rule, CharacterWidth width,
               std::u16string* out) {
  long long room = 0;  // columns of text per output line; 0: no wrapping
  if (wrap != 0) {
    room = wrap - Columns(quote, width) - Columns(footer, width);
    if (room <= 0) return false;
  }
  const bool decorated = !quote.empty() || !footer.empty();
  const bool lfOk = rule == kShapeLfOk, lfInyo = rule == kShapeLfInyo;
  if (!decorated && room == 0 && !lfOk && !lfInyo) {
    *out += text;
    return true;
  }
  const bool breakAfterLastLine = lfOk || (lfInyo && decorated);
  const bool breakAfterBreak = decorated && (lfOk || lfInyo);
  const std::u16string between = footer + u"\r\n" + quote;
  const size_t end = text.size();
  *out += quote;
  for (size_t line = 0;;) {
    const size_t found = text.find(u'\r', line);
    const size_t cr = found == std::u16string::npos ? end : found;
    // The line [line, cr), cut into pieces of at most `room` columns.
    while (room != 0) {
      size_t cut = line;
      for (long long columns = 0; cut < cr; cut += UnitsAt(text, cut)) {
        columns += width(CharacterAt(text, cut));
        if (columns > room) break;
      }
      if (cut == cr) break;  // the rest fits
      if (cut == line) cut += UnitsAt(text, cut);
      out->append(text, line, cut - line);
      line = cut;
      if (line == cr) break;
      *out += between;
    }
    out->append(text, line, cr - line);
    if (cr == end) {
      *out += footer;
      if (breakAfterLastLine) *out += u"\r\n";
      return true;
    }
    *out += between;
    // A CR LF is one line end, and so is a CR alone, whose next character
    // starts the next line, as in the byte shaping; one at the very end
    // ends the text's last line.
    const size_t next = cr + 1 < end && text[cr + 1] == u'\n' ? cr + 2 : cr + 1;
    if (next == end) {
      *out += footer;
      if (breakAfterBreak) *out += u"\r\n";
      return true;
    }
    line = next;
  }
}

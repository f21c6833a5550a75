// A text the code page cannot hold is kept whole in its record: the code
// page's rendering (what the clipboard's CF_TEXT held), one zero byte, a
// short tag, and the whole text in UTF-8. No other record holds a zero
// byte (captured texts end at their first, and an edit cannot make one),
// so the zero marks the Unicode copy beyond doubt, and any reader that
// stops at it, an older Kopiwell among them, sees the rendering. The
// record is otherwise a record like any other: its length counts it all.
#pragma once

#include <cstddef>
#include <string>

namespace unicode_record {

constexpr char kTag[] = "UTF8";
constexpr std::size_t kTagBytes = sizeof kTag - 1;

// The record text that keeps `utf8` beside `rendering` (which must hold
// no zero byte).
std::string Encode(const std::string& rendering, const std::string& utf8);

// What a record's text holds. A zero byte without the tag and well-formed
// UTF-8 after it gives no Unicode copy: the bytes before the zero are
// still the rendering.
struct Parts {
  const char* rendering = "";
  std::size_t renderingBytes = 0;
  bool unicode = false;
  const char* utf8 = "";  // when `unicode`
  std::size_t utf8Bytes = 0;
};
Parts Split(const char* text, std::size_t n);

// Whether the copying program placed its text as Unicode: of CF_TEXT and
// CF_UNICODETEXT, the one that comes first in the clipboard's order of
// formats is the one placed, the system adding the other after it.
constexpr unsigned kClipboardText = 1, kClipboardUnicodeText = 13;
bool PlacedAsUnicode(const unsigned* formats, std::size_t n);

// Makes the record for the n units of a text copied as Unicode out of its
// conversion to the code page (`rendering`), in place: the rendering
// alone when converting it back gives the very text (`givesBack`), else
// the rendering with the text beside it.
void ForUnicodeCopy(const char16_t* text, std::size_t n, bool givesBack, std::string* rendering);

}  // namespace unicode_record

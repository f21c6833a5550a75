// The shaping of shape.h for a text kept in Unicode (UTF-16): the same
// quote and footer on every line, the same line breaks (CR LF, or a CR
// alone), the same rule for the final line break. The
// wrap column still counts what the text would take in the code page: a
// character counts the bytes it has there, and one the code page lacks
// counts 2, as a double-byte character would. A character, a surrogate
// pair included, is never split; one wider than the room goes whole.
#pragma once

#include <string>

// The columns of a character in the code page: 1 or 2.
using CharacterWidth = int (*)(char32_t c);

// The columns of the text, and the start of it that fits in `columns`
// (never splitting a character).
long long Columns(const std::u16string& text, CharacterWidth width);
std::u16string CutToColumns(const std::u16string& text, long long columns, CharacterWidth width);

// Appends the shaped text to *out. False, appending nothing, when the
// wrap column leaves no room for text (as ShapeLength's -1).
bool ShapeWide(const std::u16string& text, const std::u16string& quote,
               const std::u16string& footer, int wrap, int rule, CharacterWidth width,
               std::u16string* out);

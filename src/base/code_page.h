// History texts between the program's ANSI code page and UTF-16, with
// explicit lengths: a Unicode text is converted to the code page to see
// whether the code page holds it, and code-page texts are converted to
// UTF-16 where an output or a control takes Unicode.
#pragma once

#include <cstddef>
#include <string>

// The code page's rendering: what the system's own conversion makes of
// the text, a character the code page lacks becoming its nearest or "?".
std::string CodePageBytes(const std::u16string& text);
std::string CodePageBytes(const char16_t* text, std::size_t n);
// Whether converting the bytes back gives exactly the n units at text.
bool CodePageGivesBack(const std::string& bytes, const char16_t* text, std::size_t n);
// The code page's bytes for every character of the text; false, with
// *bytes holding the rendering, when the code page lacks one.
bool HeldByCodePage(const std::u16string& text, std::string* bytes);
std::u16string FromCodePage(const char* bytes, std::size_t n);
// The columns the character takes in the code page: the bytes it has
// there, or 2 for one the code page lacks.
int CodePageWidth(char32_t c);
inline std::u16string FromCodePage(const std::string& bytes) {
  return FromCodePage(bytes.data(), bytes.size());
}

// The ANSI code page a locale's texts are in; 0 when the system cannot say.
unsigned AnsiCodePageOf(unsigned long locale);
// The locale to name as a clipboard's CF_LOCALE for texts in the
// program's code page: the user's own when its code page is the
// program's, else the one the code page's table names (see
// code_page_locale.h), else the user's after all.
unsigned long ProgramTextLocale();

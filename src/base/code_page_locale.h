// The locale that stands for an ANSI code page, for a clipboard's
// CF_LOCALE: readers convert the clipboard's text formats by that
// locale's code page, so it must be the code page the text is in.
#pragma once

#include <cstddef>

struct CodePageLocale {
  unsigned codePage;
  unsigned long locale;  // an LCID
};

// One locale for each ANSI code page Windows has.
extern const CodePageLocale kCodePageLocales[];
extern const std::size_t kCodePageLocaleCount;

// The table's locale for the code page; 0 for one it lacks.
unsigned long LocaleOfCodePage(unsigned codePage);

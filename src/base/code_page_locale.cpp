#include "base/code_page_locale.h"

// The locale of each code page's main language, as Windows itself pairs
// them.
const CodePageLocale kCodePageLocales[] = {
    {874, 0x041E},   // Thai
    {932, 0x0411},   // Japanese
    {936, 0x0804},   // Chinese (PRC)
    {949, 0x0412},   // Korean
    {950, 0x0404},   // Chinese (Taiwan)
    {1250, 0x0415},  // Polish
    {1251, 0x0419},  // Russian
    {1252, 0x0409},  // English (United States)
    {1253, 0x0408},  // Greek
    {1254, 0x041F},  // Turkish
    {1255, 0x040D},  // Hebrew
    {1256, 0x0401},  // Arabic (Saudi Arabia)
    {1257, 0x0427},  // Lithuanian
    {1258, 0x042A},  // Vietnamese
};
const std::size_t kCodePageLocaleCount = sizeof kCodePageLocales / sizeof kCodePageLocales[0];

unsigned long LocaleOfCodePage(unsigned codePage) {
  for (const CodePageLocale& entry : kCodePageLocales)
    if (entry.codePage == codePage) return entry.locale;
  return 0;
}

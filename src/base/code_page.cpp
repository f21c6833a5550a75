#include "base/code_page.h"

#include <windows.h>

#include <string_view>

#include "base/code_page_locale.h"

namespace {

// Converts the text; `lost` (when given) says whether a character had no
// bytes of its own, best fits being refused then.
std::string ToCodePage(const char16_t* text, std::size_t length, BOOL* lost) {
  if (length == 0) return std::string();
  const auto* wide = reinterpret_cast<const wchar_t*>(text);
  const int units = static_cast<int>(length);
  const DWORD flags = lost ? WC_NO_BEST_FIT_CHARS : 0;
  const int n = WideCharToMultiByte(CP_ACP, flags, wide, units, nullptr, 0, nullptr, lost);
  if (n <= 0) return std::string();
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, flags, wide, units, &bytes[0], n, nullptr, lost);
  return bytes;
}

}  // namespace

std::string CodePageBytes(const std::u16string& text) {
  return ToCodePage(text.data(), text.size(), nullptr);
}

std::string CodePageBytes(const char16_t* text, std::size_t n) {
  return ToCodePage(text, n, nullptr);
}

bool CodePageGivesBack(const std::string& bytes, const char16_t* text, std::size_t n) {
  // A conversion of another length cannot be the text: nothing is made.
  const int length = static_cast<int>(bytes.size());
  const int units = length == 0 ? 0 : MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
  if (units < 0 || static_cast<std::size_t>(units) != n) return false;
  // The conversion lives only while it is compared.
  return FromCodePage(bytes) == std::u16string_view(text, n);
}

bool HeldByCodePage(const std::u16string& text, std::string* bytes) {
  BOOL lost = FALSE;
  *bytes = ToCodePage(text.data(), text.size(), &lost);
  return !lost;
}

int CodePageWidth(char32_t c) {
  if (c >= 0x10000) return 2;  // no ANSI code page holds one
  // Asked again and again while a text is wrapped: each answer is kept.
  static unsigned char widths[0x10000];
  unsigned char& width = widths[c];
  if (width == 0) {
    const wchar_t unit = static_cast<wchar_t>(c);
    char bytes[4];
    BOOL lost = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &unit, 1, bytes, sizeof bytes,
                                      nullptr, &lost);
    width = n == 1 && !lost ? 1 : 2;
  }
  return width;
}

std::u16string FromCodePage(const char* bytes, std::size_t n) {
  if (n == 0) return std::u16string();
  const int length = static_cast<int>(n);
  const int units = MultiByteToWideChar(CP_ACP, 0, bytes, length, nullptr, 0);
  if (units <= 0) return std::u16string();
  std::u16string text(static_cast<size_t>(units), u'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes, length, reinterpret_cast<wchar_t*>(&text[0]), units);
  return text;
}

unsigned AnsiCodePageOf(unsigned long locale) {
  DWORD codePage = 0;
  const int got = GetLocaleInfoW(locale, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                                 reinterpret_cast<LPWSTR>(&codePage),
                                 sizeof codePage / sizeof(WCHAR));
  return got ? codePage : 0;
}

// Not the input language the system would stamp: a Japanese user typing
// with an English layout still has texts in code page 932.
unsigned long ProgramTextLocale() {
  const LCID user = GetUserDefaultLCID();
  const UINT codePage = GetACP();
  if (AnsiCodePageOf(user) == codePage) return user;
  const unsigned long listed = LocaleOfCodePage(codePage);
  return listed ? listed : user;
}

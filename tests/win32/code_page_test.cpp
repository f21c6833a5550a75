// The locales named for the clipboard's texts are the system's own for
// their code pages.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/code_page.h"
#include "base/code_page_locale.h"

TEST(CodePageLocale, EveryListedLocaleIsInItsCodePage) {
  for (std::size_t i = 0; i < kCodePageLocaleCount; ++i) {
    const CodePageLocale& entry = kCodePageLocales[i];
    EXPECT_EQ(entry.codePage, AnsiCodePageOf(entry.locale)) << std::hex << entry.locale;
  }
}

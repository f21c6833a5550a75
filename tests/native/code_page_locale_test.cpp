// The locale named for the clipboard's texts, by their code page.
#include "base/code_page_locale.h"

#include <gtest/gtest.h>

#include <set>

TEST(CodePageLocale, EachListedCodePageHasOneLocaleAndOthersNone) {
  const struct {
    unsigned codePage;
    unsigned long locale;
  } cases[] = {{932, 0x0411}, {936, 0x0804}, {949, 0x0412}, {950, 0x0404},
               {1252, 0x0409}, {65001, 0}, {437, 0}, {0, 0}};
  for (const auto& c : cases) EXPECT_EQ(c.locale, LocaleOfCodePage(c.codePage)) << c.codePage;
  std::set<unsigned> seen;
  for (std::size_t i = 0; i < kCodePageLocaleCount; ++i)
    EXPECT_TRUE(seen.insert(kCodePageLocales[i].codePage).second)
        << kCodePageLocales[i].codePage << " is listed twice";
}

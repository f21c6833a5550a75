// The lock name of a data folder: one name for every spelling of the same
// folder, another for another folder, within the system's limit however
// deep the folder.
#include <gtest/gtest.h>

#include <string>

#include "base/folder_lock_name.h"

TEST(FolderLockName, SameFolderSameNameOtherFolderOtherName) {
  const std::wstring deep = L"C:\\" + std::wstring(5000, L'x');
  const struct {
    std::wstring a, b;
    bool same;
  } cases[] = {
      {L"C:\\Users\\aki\\Kopiwell", L"c:\\users\\AKI\\kopiwell", true},
      {L"C:\\Users\\aki\\Kopiwell", L"C:/Users/aki/Kopiwell/", true},
      {L"C:\\Users\\aki\\Kopiwell", L"C:\\Users\\aki\\Kopiwell2", false},
      {L"C:\\データ\\一", L"C:\\データ\\二", false},  // beyond ASCII counts too
      {deep, deep + L"y", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.same, FolderLockName(c.a) == FolderLockName(c.b)) << c.b;
    EXPECT_EQ(0u, FolderLockName(c.a).find(L"Local\\Kopiwell-"));
    EXPECT_LT(FolderLockName(c.a).size(), 260u);
  }
}

// The list of programs whose copies are never recorded, and the one-shot
// "don't record the next copy".
#include <gtest/gtest.h>

#include <string>

#include "base/skip_next.h"
#include "settings/program_list.h"
#include "settings/settings.h"

TEST(ProgramList, NamesMatchWholeFileNamesInEitherCase) {
  struct Case {
    std::string list;
    std::string path;
    bool listed;
  };
  const std::string defaults = Settings().ignore;
  const Case cases[] = {
      {defaults, "C:\\Program Files\\KeePassXC\\KeePassXC.exe", true},
      {defaults, "c:\\tools\\keepass.EXE", true},
      {defaults, "C:\\Users\\u\\AppData\\Local\\1Password\\app\\8\\1Password.exe", true},
      {defaults, "Bitwarden.exe", true},
      {defaults, "C:\\Windows\\notepad.exe", false},
      {defaults, "C:\\KeePassXC.exe\\other.exe", false},  // a folder of that name
      {"", "KeePassXC.exe", false},                        // emptied by the user
      {" a.exe ;; b.exe;", "B.EXE", true},                 // spaces and empty names
      {"a.exe;b.exe", "a", false},                         // never a part of a name
      {"Proton Pass.exe", "D:/apps/Proton Pass.exe", true},
      {"x.exe", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("\"" + c.list + "\" and " + c.path);
    EXPECT_EQ(c.listed, ProgramListed(c.list, c.path));
  }
  EXPECT_EQ((std::vector<std::string>{"a.exe", "b.exe"}), ProgramNames(" a.exe ;; b.exe;"));
}

TEST(SkipNext, TakenOnceAndLapsingAfterAMinute) {
  ArmSkipNext(1000);
  EXPECT_TRUE(SkipNextArmed(1000 + kSkipNextLastsMs - 1));
  EXPECT_TRUE(TakeSkipNext(2000));
  EXPECT_FALSE(TakeSkipNext(2001)) << "one copy only";
  ArmSkipNext(5000);
  EXPECT_FALSE(TakeSkipNext(5000 + kSkipNextLastsMs)) << "lapsed";
  EXPECT_FALSE(SkipNextArmed(5000));
  ArmSkipNext(9000);
  DisarmSkipNext();
  EXPECT_FALSE(TakeSkipNext(9001));
}

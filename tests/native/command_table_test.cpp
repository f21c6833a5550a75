// The command tables and their matcher, checked against the tables
// themselves: every prefix of every command waits, every whole command
// is complete, and what no command begins with is rejected.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "listwin/command_table.h"
#include "listwin/target_rows.h"

namespace {

// The entry's sequence with its mark placeholder as the mark a.
std::string Typed(const CommandEntry& e) {
  std::string s(e.sequence);
  for (size_t i = 1; i < s.size(); ++i)
    if (s[i] == '?') s[i] = 'a';
  return s;
}

int EntryCount(const CommandEntry* table) {
  int n = 0;
  while (table[n].length != 0) ++n;
  return n;
}

}  // namespace

TEST(CommandTables, HoldEveryCommandOfTheirKeyMode) {
  EXPECT_EQ(61, EntryCount(CommandTable("1.9")));
  EXPECT_EQ(18, EntryCount(CommandTable("1.5a")));
  EXPECT_EQ(CommandTable("1.9"), CommandTable("2.0")) << "any later version uses the 1.9 table";
  EXPECT_EQ(CommandTable("1.5a"), CommandTable("1.0"));
  for (const char* version : {"1.9", "1.5a"})
    for (const CommandEntry* e = CommandTable(version); e->length; ++e)
      EXPECT_EQ(e->length, static_cast<int>(std::strlen(e->sequence))) << e->sequence;
}

TEST(CommandTables, EveryPrefixWaitsAndEveryWholeCommandIsComplete) {
  for (const char* version : {"1.9", "1.5a"}) {
    for (const CommandEntry* e = CommandTable(version); e->length; ++e) {
      const std::string typed = Typed(*e);
      EXPECT_EQ(1, CheckKeySeq(version, typed.c_str())) << version << " " << typed;
      for (size_t n = 1; n < typed.size(); ++n)
        EXPECT_EQ(0, CheckKeySeq(version, typed.substr(0, n).c_str()))
            << version << " prefix " << typed.substr(0, n);
      // A count in front is taken by the matcher (the 1.5a dispatch
      // refuses it later).
      EXPECT_EQ(1, CheckKeySeq(version, ("12" + typed).c_str())) << version << " 12" << typed;
    }
  }
}

TEST(CommandTables, SequencesThatBeginNoCommandAreRejected) {
  struct Case {
    const char* version;
    const char* typed;
    int expected;
  };
  const Case cases[] = {
      {"1.9", "d", 0},    {"1.9", "dd", 1},  {"1.9", "d'", 0},  {"1.9", "d'a", 1},
      {"1.9", "3", 0},    {"1.9", "3j", 1},  {"1.9", "x", -1},  {"1.9", "dx", -1},
      {"1.9", "D", -1},   {"1.9", "'", 0},   {"1.9", "m", 0},   {"1.9", "mZ", 1},
      {"1.9", "", 0},     {"1.9", "s", 0},   {"1.9", "sq", -1}, {"1.5a", "d", 1},
      {"1.5a", "x", -1},  {"1.5a", "e", -1}, {"1.5a", "3", 0},  {"1.5a", "\x06", 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, CheckKeySeq(c.version, c.typed)) << c.version << " \"" << c.typed << "\"";
}

TEST(CommandTables, ParsingGivesTheCountAndTheCommandWithItsMark) {
  const CommandEntry* table = CommandTable("1.9");
  ParsedCommand p = ParseCommand(table, "12d'x");
  ASSERT_NE(nullptr, p.entry);
  EXPECT_EQ(12, p.count);
  EXPECT_STREQ("d'x", p.command);
  EXPECT_EQ(kRepeatStore, p.entry->repeat);

  p = ParseCommand(table, "j");
  ASSERT_NE(nullptr, p.entry);
  EXPECT_EQ(0, p.count);
  EXPECT_EQ(kRepeatNone, p.entry->repeat);

  p = ParseCommand(table, "2147483647j");
  EXPECT_FALSE(p.countTooLarge);
  p = ParseCommand(table, "2147483648j");
  EXPECT_TRUE(p.countTooLarge) << "a count beyond 32 bits is refused, never wrapped";
  p = ParseCommand(table, "99999999999999999999999999j");
  EXPECT_TRUE(p.countTooLarge) << "count " << p.count;

  EXPECT_EQ(nullptr, ParseCommand(table, "d").entry) << "a prefix is no command";
}

TEST(PendingKeys, CollectsUntilACommandAndRejectsWhatCannotBeOne) {
  PendingKeys keys;
  EXPECT_EQ(PendingKeys::kWaiting, keys.Add('d', "1.9"));
  EXPECT_EQ(PendingKeys::kComplete, keys.Add('d', "1.9"));
  EXPECT_STREQ("dd", keys.Text());
  keys.Clear();
  EXPECT_EQ(PendingKeys::kWaiting, keys.Add('d', "1.9"));
  EXPECT_EQ(PendingKeys::kRejected, keys.Add('x', "1.9"));
  EXPECT_STREQ("", keys.Text()) << "a rejected sequence is emptied";

  // A run of digits fills the buffer; the character that would overflow
  // it is rejected like an unknown command.
  for (size_t i = 0; i < PendingKeys::kCapacity; ++i)
    ASSERT_EQ(PendingKeys::kWaiting, keys.Add('9', "1.9")) << i;
  EXPECT_EQ(PendingKeys::kRejected, keys.Add('9', "1.9"));
  EXPECT_STREQ("", keys.Text());
  EXPECT_EQ(PendingKeys::kWaiting, keys.Add('3', "1.9"));
  EXPECT_EQ(PendingKeys::kComplete, keys.Add('j', "1.9"));
}

TEST(PendingKeys, TakesOnlyCommandKeysNeverTheLowByteOfOtherText) {
  // Units whose low byte is a command: は (o), つ (d), ｐ (P), the
  // ideographic space (NUL); and control characters no command types.
  for (unsigned unit : {0x306Fu, 0x3064u, 0xFF50u, 0x3000u, 0u, 0x01u, 0x7Fu, 0xE9u}) {
    PendingKeys keys;
    ASSERT_EQ(PendingKeys::kWaiting, keys.Add('d', "1.9"));
    EXPECT_EQ(PendingKeys::kRejected, keys.Add(unit, "1.9")) << std::hex << unit;
    EXPECT_STREQ("", keys.Text()) << std::hex << unit;
  }
  PendingKeys keys;
  EXPECT_EQ(PendingKeys::kComplete, keys.Add(0x06, "1.9")) << "Ctrl+F pages";
  EXPECT_EQ(PendingKeys::kRejected, keys.Add('\r', "1.5a")) << "no command of 1.5a";
  EXPECT_TRUE(IsCommandCharacter('~', "1.5a"));
}

TEST(Paging, PagesAndHalfPagesStopAtTheEnds) {
  struct Case {
    const char* what;
    PageMove move;
    bool moves;
    int scroll, cursor;
  };
  const Case cases[] = {
      {"page forward", PageForward(10, 8, 100), true, 17, 17},
      {"page forward at the end", PageForward(95, 8, 100), true, 99, 99},
      {"half page down", HalfPageDown(10, 12, 4, 100), true, 14, 16},
      {"half page down at the end", HalfPageDown(97, 98, 4, 100), true, 99, 99},
      {"a huge step down", HalfPageDown(0, 0, INT_MAX, 100), true, 99, 99},
      {"page back", PageBack(20, 8, 100), true, 13, 20},
      {"page back near the top", PageBack(3, 8, 100), true, 0, 7},
      {"page back in a short list", PageBack(0, 8, 5), false, 0, 0},
      {"half page up", HalfPageUp(10, 12, 4), true, 6, 8},
      {"half page up at the top", HalfPageUp(1, 2, 4), true, 0, 0},
      {"1.5a page forward", PageForward15a(10, 100), true, 23, 23},
      {"1.5a half page down", HalfPageDown15a(10, 12, 100), true, 17, 19},
      {"1.5a page back", PageBack15a(30, 40, 100), true, 17, 28},
      {"1.5a page back, cursor near the top", PageBack15a(0, 5, 100), false, 0, 0},
      {"1.5a page back, fewer than 14 rows", PageBack15a(0, 12, 13), false, 0, 0},
      {"1.5a half page up", HalfPageUp15a(10, 12), true, 3, 5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.moves, c.move.moves) << c.what;
    if (!c.moves) continue;
    EXPECT_EQ(c.scroll, c.move.scroll) << c.what;
    EXPECT_EQ(c.cursor, c.move.cursor) << c.what;
  }
}

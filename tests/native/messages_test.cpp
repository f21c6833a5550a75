// The table of the user's messages: every name has its one row, a code
// leads to at most one message in each situation, and the arguments land
// where the text says.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "output/messages.h"
#include "store/store_errors.h"

TEST(Messages, EachNameHasOneRowAndEachCodeOneAnswer) {
  std::set<int> ids;
  std::set<std::pair<int, int>> answers;
  for (const Message& m : Messages()) {
    EXPECT_TRUE(ids.insert(m.id).second) << m.id << " twice";
    EXPECT_EQ(m.when == kWhenAnything, m.code == 0) << m.text;
    if (m.code != 0) EXPECT_TRUE(answers.insert({m.when, m.code}).second) << m.text;
  }
  EXPECT_EQ(static_cast<size_t>(kMsgEditFailed) + 1, ids.size()) << "a name without its row";
  EXPECT_EQ(kMsgOpenNoMemory, MessageFor(kWhenOpening, kErrOpenNoMemory)->id);
  EXPECT_EQ(kErrorPlain, MessageFor(kWhenOpening, kErrOpenNoMemory)->kind);
  EXPECT_EQ(kMsgEditFileFull, MessageFor(kWhenStoringEdit, kErrWorkingFileFull)->id);
  EXPECT_EQ(nullptr, MessageFor(kWhenOpening, kErrWorkingFileFull));
  EXPECT_EQ(nullptr, MessageFor(kWhenAnything, 0));
}

TEST(Messages, ArgumentsFillTheirPlaces) {
  EXPECT_EQ("WndProc:ファイルオープン時にエラー発生 -1602",
            MessageText(MessageOf(kMsgOpenOther), {"-1602"}));
  const std::string kept = MessageText(MessageOf(kMsgKeptLeftover), {"clipwork-kept-1.dat", "3"});
  EXPECT_NE(std::string::npos, kept.find("取り込まずに clipwork-kept-1.dat として"));
  EXPECT_NE(std::string::npos, kept.find("中には 3 件"));
  EXPECT_EQ("WndProc:ファイルオープン時にエラー発生 ", MessageText(MessageOf(kMsgOpenOther)))
      << "a missing argument leaves its place empty";
}

// Target rows of the motions and the mark table, checked as the numbers
// they are: no list view is needed to get them wrong.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "listwin/marks.h"
#include "listwin/target_rows.h"
#include "store/row_move.h"

namespace {

struct Motion {
  const char* what;
  int (*target)(long long count, int cursor, int rows);
  long long count;
  int cursor, rows, expected;
};

int Go(long long count, int, int rows) { return TargetRowGo(count, rows); }

const Motion kMotions[] = {
    {"j", TargetRowDown, 0, 3, 10, 4},
    {"j on the last row is refused", TargetRowDown, 0, 9, 10, -1},
    {"1j on the last row is refused", TargetRowDown, 1, 9, 10, -1},
    {"2j on the last row stays there", TargetRowDown, 2, 9, 10, 9},
    {"5j runs out at the last row", TargetRowDown, 5, 7, 10, 9},
    {"j with no cursor row starts at row 0", TargetRowDown, 0, -1, 10, 0},
    {"3j with no cursor row", TargetRowDown, 3, -1, 10, 2},
    {"j on an empty list", TargetRowDown, 0, -1, 0, -1},
    {"5j on an empty list", TargetRowDown, 5, -1, 0, -1},
    {"a count as large as an int holds", TargetRowDown, INT_MAX, INT_MAX - 1, INT_MAX, INT_MAX - 1},
    {"k", TargetRowUp, 0, 3, 10, 2},
    {"k on row 0 is refused", TargetRowUp, 0, 0, 10, -1},
    {"1k on row 0 is refused", TargetRowUp, 1, 0, 10, -1},
    {"3k on row 0 stays there", TargetRowUp, 3, 0, 10, 0},
    {"4k from row 2 stops at row 0", TargetRowUp, 4, 2, 10, 0},
    {"k with no cursor row", TargetRowUp, 0, -1, 10, -1},
    {"k on an empty list", TargetRowUp, 2, -1, 0, -1},
    {"a huge count up", TargetRowUp, INT_MAX, 5, 10, 0},
    {"G", Go, 0, 3, 10, 9},
    {"3G", Go, 3, 0, 10, 2},
    {"3G in a list of 2 rows", Go, 3, 0, 2, 1},
    {"G on an empty list", Go, 0, -1, 0, -1},
    {"4G on an empty list", Go, 4, -1, 0, -1},
    {"dd without a count is the cursor row", TargetRowCountEnd, 0, 8, 10, 8},
    {"3dd", TargetRowCountEnd, 3, 2, 10, 4},
    {"4dd on row 8 of 10", TargetRowCountEnd, 4, 8, 10, 9},
    {"dd with no cursor row", TargetRowCountEnd, 2, -1, 10, -1},
    {"a huge count to the end", TargetRowCountEnd, INT_MAX, INT_MAX - 2, INT_MAX, INT_MAX - 1},
};

}  // namespace

TEST(TargetRows, EveryMotionLandsWhereTheRulesSay) {
  for (const Motion& m : kMotions)
    EXPECT_EQ(m.expected, m.target(m.count, m.cursor, m.rows))
        << m.what << " (count " << m.count << ", cursor " << m.cursor << ", rows " << m.rows
        << ")";
}

TEST(Marks, LettersNameFiftyTwoDistinctMarks) {
  MarkTable marks;
  EXPECT_EQ(-1, marks.Get('a')) << "marks start unset";
  EXPECT_TRUE(marks.Set('A', 5));
  EXPECT_EQ(-1, marks.Get('a')) << "upper and lower case are different marks";
  EXPECT_EQ(5, marks.Get('A'));
  EXPECT_TRUE(marks.Set('z', 7));
  EXPECT_TRUE(marks.Set('Z', 8));
  EXPECT_EQ(7, marks.Get('z'));
  EXPECT_EQ(8, marks.Get('Z'));
  for (char c : {'1', '\'', '@', '[', '`', '{', '\0', '\xA0'}) {
    EXPECT_FALSE(marks.Set(c, 3)) << int(c);
    EXPECT_EQ(-1, marks.Get(c)) << int(c);
  }
  EXPECT_TRUE(marks.Set('A', -1)) << "-1 unsets";
  EXPECT_EQ(-1, marks.Get('A'));
  marks.Clear();
  EXPECT_EQ(-1, marks.Get('z'));
}

TEST(Marks, FollowTheirRowsWhenRowsComeAndGo) {
  MarkTable marks;
  marks.Set('a', 7);
  marks.Set('b', 3);
  marks.Set('c', 1);
  marks.RowsDeleted(2, 4);
  EXPECT_EQ(4, marks.Get('a')) << "below the deleted rows: moves up by three";
  EXPECT_EQ(-1, marks.Get('b')) << "on a deleted row: unset";
  EXPECT_EQ(1, marks.Get('c')) << "above: unchanged";

  marks.Set('b', 3);
  marks.RowsInserted(4, 2);
  EXPECT_EQ(6, marks.Get('a')) << "on the row of the insertion: moves down";
  EXPECT_EQ(3, marks.Get('b')) << "above the insertion: unchanged";

  // Selected rows 2 and 5 deleted one by one: 2 first, then 5 has become 4.
  marks.Set('d', 5);
  marks.Set('e', 8);
  marks.RowsDeleted(2, 2);
  marks.RowsDeleted(4, 4);
  EXPECT_EQ(-1, marks.Get('d'));
  EXPECT_EQ(6, marks.Get('e'));
  EXPECT_EQ(1, marks.Get('c'));

  // Turning 10 rows around: row m becomes 9 - m; a mark past the end
  // names no entry, whether read or turned.
  marks.Set('f', 12);
  marks.RowsReversed(10);
  EXPECT_EQ(3, marks.Get('e'));
  EXPECT_EQ(8, marks.Get('c'));
  EXPECT_EQ(-1, marks.Get('f'));
  marks.Set('g', 10);
  EXPECT_EQ(-1, marks.Get('g', 10)) << "at the row count: unset";
  EXPECT_EQ(10, marks.Get('g', 11));
}

// Rows moved one place: a run moves as a whole, the row passed goes round
// it, and nothing moves when a row would leave the list.
TEST(RowMove, RunsMoveAsOneAndTheRowPassedGoesRound) {
  struct Case {
    std::vector<int> rows;
    int by;
    bool moves;
    int first;
    std::vector<int> order;
  };
  const Case cases[] = {
      {{3}, -1, true, 2, {3, 2}},
      {{3, 4, 5}, -1, true, 2, {3, 4, 5, 2}},
      {{3, 6}, -1, true, 2, {3, 2, 4, 6, 5}},
      {{3, 4}, 1, true, 3, {5, 3, 4}},
      {{0, 9}, 1, false, 0, {}},
      {{0}, -1, false, 0, {}},
      {{9}, 1, false, 0, {}},
      {{}, 1, false, 0, {}},
  };
  for (const Case& c : cases) {
    int first = -1;
    std::vector<int> order;
    ASSERT_EQ(c.moves, MoveOrder(c.rows, c.by, 10, &first, &order)) << c.rows.size() << c.by;
    if (!c.moves) continue;
    EXPECT_EQ(c.first, first);
    EXPECT_EQ(c.order, order);
  }
  MarkTable marks;
  marks.Set('a', 2);
  marks.Set('b', 5);
  marks.Set('c', 6);
  marks.RowsMoved(2, {3, 4, 5, 2});
  EXPECT_EQ(5, marks.Get('a')) << "the row passed went round the run";
  EXPECT_EQ(4, marks.Get('b')) << "a row of the run moved up with it";
  EXPECT_EQ(6, marks.Get('c')) << "outside the stretch: unchanged";
}

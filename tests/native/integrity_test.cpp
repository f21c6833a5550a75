// Whether a paste would lose its keys: the decision from our integrity
// level, the target's, and why the target's could not be read.
#include <gtest/gtest.h>

#include "output/integrity.h"

TEST(Integrity, KeysAreDroppedOnlyAboveUsOrWhenTheTargetRefusesToBeAsked) {
  constexpr uint32_t kMedium = 0x2000, kHigh = 0x3000, kLow = 0x1000;
  constexpr uint32_t kInvalidParameter = 87;
  const IntegrityAnswer medium{true, kMedium, 0};
  const struct {
    IntegrityAnswer ours, theirs;
    bool dropped;
  } cases[] = {
      {medium, {true, kHigh, 0}, true},                       // run as administrator
      {medium, {true, kMedium, 0}, false},                    // a program like ours
      {medium, {true, kLow, 0}, false},                       // a sandboxed one
      {{true, kHigh, 0}, {true, kHigh, 0}, false},            // both as administrator
      {medium, {false, 0, kIntegrityAccessDenied}, true},     // refused: may be higher
      {medium, {false, 0, kInvalidParameter}, false},         // gone meanwhile: as today
      {{false, 0, kIntegrityAccessDenied}, {true, kHigh, 0}, false},  // ours unknown
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.dropped, KeysWouldBeDropped(c.ours, c.theirs))
        << std::hex << c.ours.level << " vs " << c.theirs.level << " error " << c.theirs.error;
}

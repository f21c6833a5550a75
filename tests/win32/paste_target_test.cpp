// The integrity level as the system answers it, asked of this process.
#include <windows.h>

#include <gtest/gtest.h>

#include "output/paste_target.h"

TEST(PasteTarget, OurOwnLevelIsReadAndAFailedQueryGivesTheSystemsReason) {
  const IntegrityAnswer ours = ProcessIntegrity(GetCurrentProcessId());
  ASSERT_TRUE(ours.known) << "error " << ours.error;
  EXPECT_GE(ours.level, static_cast<uint32_t>(SECURITY_MANDATORY_LOW_RID));
  EXPECT_LE(ours.level, static_cast<uint32_t>(SECURITY_MANDATORY_SYSTEM_RID));

  // Process id 0 is no program that can be asked: the system's reason
  // comes back, and it is no refusal.
  const IntegrityAnswer none = ProcessIntegrity(0);
  EXPECT_FALSE(none.known);
  EXPECT_EQ(static_cast<uint32_t>(ERROR_INVALID_PARAMETER), none.error);
}

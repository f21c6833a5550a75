// Whether a paste may type into a program: the system drops, without a
// word, the keys a program sends to one running at a higher integrity
// level (one run as administrator). No window system here; the levels are
// asked for in paste_target.h.
#pragma once

#include <cstdint>

// What asking a process for its integrity level gave.
struct IntegrityAnswer {
  bool known = false;
  uint32_t level = 0;  // the mandatory label's RID (0x2000 medium, 0x3000 high)
  uint32_t error = 0;  // the system's error code when not known
};

// ERROR_ACCESS_DENIED: what a program run as administrator answers a
// normal one that asks too much of it.
constexpr uint32_t kIntegrityAccessDenied = 5;

// True when keys typed at `theirs` would be dropped: its level is above
// ours, or it refused to be asked. Any other failure to ask, ours or
// theirs, lets the paste go on as it always did.
bool KeysWouldBeDropped(const IntegrityAnswer& ours, const IntegrityAnswer& theirs);

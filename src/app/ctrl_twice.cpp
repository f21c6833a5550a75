#include "app/ctrl_twice.h"

bool CtrlTwice::Feed(KeyKind kind, bool down, std::uint32_t timeMs) {
  if (kind == KeyKind::kOther) {
    // Ctrl+C, Ctrl+V and any other key with or between the presses are
    // a shortcut, not a call. A key released after its own press (one
    // held from before) breaks nothing, as long as it came up before
    // the first press.
    if (down || state_ != State::kIdle) state_ = State::kIdle;
    return false;
  }
  switch (state_) {
    case State::kIdle:
      if (down) state_ = State::kFirstDown;
      return false;
    case State::kFirstDown:
      // The key repeats while held: only its release moves on.
      if (!down) {
        state_ = State::kFirstUp;
        releasedAt_ = timeMs;
      }
      return false;
    case State::kFirstUp:
      if (!down) return false;
      if (timeMs - releasedAt_ <= kWindowMs) {
        state_ = State::kSecondDown;
        return false;
      }
      state_ = State::kFirstDown;  // too late: this press may begin a new pair
      return false;
    case State::kSecondDown:
      // The call comes with the release, so that a Ctrl+V begun as the
      // second press stays a paste.
      if (down) return false;
      state_ = State::kIdle;
      return true;
  }
  return false;
}

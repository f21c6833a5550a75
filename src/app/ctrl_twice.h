// Telling a double press of Ctrl from every other use of the key, without
// any window system: the keyboard hook feeds it each key event and asks
// whether the list is called.
#pragma once

#include <cstdint>

enum class KeyKind { kCtrl, kOther };

class CtrlTwice {
 public:
  // The most milliseconds from the first release of Ctrl to the second press.
  static constexpr std::uint32_t kWindowMs = 400;

  // One key event at `timeMs` (the event's own clock, which wraps);
  // true when it completes a double press: Ctrl pressed and released,
  // then pressed again in time and released, with no other key between.
  bool Feed(KeyKind kind, bool down, std::uint32_t timeMs);

 private:
  enum class State { kIdle, kFirstDown, kFirstUp, kSecondDown };
  State state_ = State::kIdle;
  std::uint32_t releasedAt_ = 0;
};

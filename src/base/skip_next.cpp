#include "base/skip_next.h"

namespace {

bool g_armed = false;
unsigned long long g_until = 0;

}  // namespace

void ArmSkipNext(unsigned long long now) {
  g_armed = true;
  g_until = now + kSkipNextLastsMs;
}

void DisarmSkipNext() { g_armed = false; }

bool SkipNextArmed(unsigned long long now) {
  if (g_armed && now >= g_until) g_armed = false;
  return g_armed;
}

bool TakeSkipNext(unsigned long long now) {
  if (!SkipNextArmed(now)) return false;
  g_armed = false;
  return true;
}

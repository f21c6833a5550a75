// "Don't record the next copy": armed by the user, it is taken by the
// next copy that would be recorded, and lapses by itself after a minute,
// so that a copy much later is never left out by a choice long forgotten.
// Times are the system's milliseconds since start, given by the caller.
#pragma once

constexpr unsigned long long kSkipNextLastsMs = 60000;

void ArmSkipNext(unsigned long long now);
void DisarmSkipNext();
bool SkipNextArmed(unsigned long long now);
// True once for a copy made while armed, which disarms it.
bool TakeSkipNext(unsigned long long now);

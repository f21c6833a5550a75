#include "output/integrity.h"

bool KeysWouldBeDropped(const IntegrityAnswer& ours, const IntegrityAnswer& theirs) {
  if (!ours.known) return false;
  if (theirs.known) return theirs.level > ours.level;
  // Only a program above ours refuses a query this limited.
  return theirs.error == kIntegrityAccessDenied;
}

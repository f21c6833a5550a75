#include "store/store.h"

void Store::Abandon() {
  HANDLE work = Work();
  SetWork(nullptr, 0);
  if (work) CloseHandle(work);
  index_.Clear();
}

LoadDamage Store::TakeLoadDamage() {
  LoadDamage damage = damage_;
  damage_ = LoadDamage();
  return damage;
}

KeptLeftover Store::TakeKeptLeftover() {
  KeptLeftover kept = kept_;
  kept_ = KeptLeftover();
  return kept;
}

#include "store/phrases.h"

Store& Phrases() {
  // A damaged phrase.dat is kept as phrasedat.bak: the phrases have no
  // backup of their own otherwise.
  static Store phrases(kPhraseBaseName, Store::DamagedCopy::kBackup);
  return phrases;
}

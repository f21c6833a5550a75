#include "app/phrase_file.h"

#include "output/messages.h"
#include "store/phrases.h"

namespace {

// The last opening failed, and that is still to be told.
bool g_notOpened = false;

}  // namespace

void OpenPhrases() {
  Store& phrases = Phrases();
  if (phrases.Work()) return;  // still open: the last save failed
  // New phrases go to the end: what a killed run added comes back there,
  // in the order it was added.
  tdb_recover(phrases, false);
  tdb_create(phrases);
  g_notOpened = !tdb_open(phrases);
}

bool SavePhrases() {
  Store& phrases = Phrases();
  return !phrases.Work() || tdb_close(phrases) == 0;
}

void ReportPhraseNotices() {
  Store& phrases = Phrases();
  const KeptLeftover kept = phrases.TakeKeptLeftover();
  if (!kept.name.empty()) Tell(kMsgPhrasesLeftoverKept, {kept.name});
  const LoadDamage damage = phrases.TakeLoadDamage();
  if (damage.damaged && damage.copy.empty()) Tell(kMsgPhrasesDamagedNoCopy);
  if (damage.damaged && !damage.copy.empty()) Tell(kMsgPhrasesDamaged, {damage.copy});
  if (g_notOpened) Tell(kMsgPhrasesNotOpened);
  g_notOpened = false;
}

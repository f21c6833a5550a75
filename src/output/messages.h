// Every message the program shows the user in its error box, in one
// table: what it says, whether it ends the program, and the error code it
// answers where one leads to it. No window system here; Tell shows one.
#pragma once

#include <string>
#include <vector>

#include "base/report.h"

enum MessageId : int {
  kMsgAlreadyRunning,
  kMsgHelpMissing,
  kMsgHotkeyTaken,       // %1: the key's name
  kMsgSignInLinkNotMade,
  kMsgSignInLinkNotRemoved,
  kMsgNotPasted,
  kMsgNotPastedElevated,
  // Starting and ending.
  kMsgOpenNoMemory,
  kMsgOpenWork,
  kMsgOpenNoData,
  kMsgOpenOther,         // %1: the store's error code
  kMsgStartDeleteFailed,
  kMsgDataCreate,
  kMsgCloseFailed,
  kMsgCloseFailedAtSessionEnd,
  kMsgKeptLeftover,      // %1: the file's new name, %2: its number of texts
  kMsgLeftoverUnreadable,  // %1: the file's new name
  kMsgLeftoverUnreadableNotKept,
  kMsgStartDeleteSkipped,
  kMsgDamagedCopyKept,   // %1: the name of the copy
  kMsgDamagedNoCopy,
  kMsgPhrasesNotOpened,
  kMsgPhrasesNotSaved,
  kMsgPhrasesLeftoverKept,  // %1: the file's new name
  kMsgPhrasesDamaged,       // %1: the name of the copy
  kMsgPhrasesDamagedNoCopy,
  kMsgPhrasesNotAdded,
  // The whole history.
  kMsgNoBackup,
  kMsgBackupUnreadable,
  kMsgRestoreFailed,
  kMsgClearFailed,
  // Entries.
  kMsgWriteFailed,
  kMsgWorkingFileFull,
  kMsgNoMemory,
  kMsgCaptureFailed,     // %1: the store's error code
  kMsgInsertNoRow,
  kMsgInsertFailed,
  // Copies.
  kMsgCopyNoSelection,
  kMsgCopySelNoRoom,
  kMsgCopyNoRoom,
  kMsgCopyClipboardBusy,
  kMsgCopyNoMemory,
  // The edit dialog.
  kMsgEditFileFull,
  kMsgEditWriteFailed,
  kMsgEditEntryGone,
  kMsgEditFailed,
};

// Where an error code is turned into a message: the same code can mean
// different things to the user in different places.
enum Situation : int {
  kWhenAnything,      // named directly, never looked up by code
  kWhenOpening,       // the history could not be opened (store error codes)
  kWhenCopying,       // a copy failed (list error codes)
  kWhenStoringEdit,   // a changed text could not be stored (store error codes)
};

struct Message {
  MessageId id;
  int kind;  // kErrorPlain or kErrorFatal
  Situation when;
  int code;  // the error code it answers in that situation; 0 for none
  const char* text;
};

const std::vector<Message>& Messages();
const Message& MessageOf(MessageId id);
// The message that answers the code in the situation; null for none.
const Message* MessageFor(Situation when, int code);

// The text with %1, %2 replaced by the arguments.
std::string MessageText(const Message& message, const std::vector<std::string>& args = {});

// Shows the message in the error box (fatal ones end the program).
inline void Tell(MessageId id, const std::vector<std::string>& args = {}) {
  const Message& m = MessageOf(id);
  ErrorBox(MessageText(m, args).c_str(), m.kind);
}

// The vocabulary of the two vi-like key modes: the command tables, the
// matcher that tells a typed sequence apart as waiting, whole or
// rejected, and the pending sequence the keys collect in. Each command
// names the action that runs it and that action's argument; no window
// system here, the actions themselves are DoKeySeq's (commands.h).
#pragma once

#include <cstddef>

// What a command does to the repeat register once it has run.
enum RepeatFlag : int {
  kRepeatNone = 0,    // leaves it alone
  kRepeatStore = 1,   // becomes its content
  kRepeatReplay = 2,  // the repeat command itself
};

// What a command does; both tables' commands share these.
enum CommandAction : int {
  kDoNothing,    // "." with a count
  kDoView,       // shows or hides the edit dialog; arg 'e' keeps the focus, 'E' takes it
  kDoDelete,     // deletes the range, or the selection
  kDoSelect,     // selects the range
  kDoUnselect,   // unselects every row
  kDoSelectAll,
  kDoCopy,       // copies the range, or the selection; arg: the kCopy flags
  kDoMove,       // moves the cursor to the motion's row
  kDoPage,       // pages: arg 'f' forward, 'b' back, 'd' half down, 'u' half up
  kDoOk,         // pastes the row
  kDoHide,       // hides the list
  kDoMark,       // sets the typed mark on the cursor row
  kDoOpen,       // a new entry below ('o') or above ('O') the cursor row
  kDoPut,        // puts the put buffer below ('p') or above ('P') the cursor row
  kDoFind,       // opens the find bar: arg '/' searches down, '?' up
  kDoFindAgain,  // the last search again: arg 'n' in its direction, 'N' against it
  kDoAddPhrase,  // adds the range, or the selection, at the end of the fixed phrases
};

// The kDoCopy flags.
constexpr char kCopyQuoted = 1;    // with the quote prefix and footer
constexpr char kCopyThenOk = 2;    // then pastes through the OK command
constexpr char kCopyOnlyCopy = 4;  // the OK command copies without pasting afterwards

// Where a command's motion, or the other end of its range, leads.
enum CommandMotion : int {
  kNoMotion,
  kCountedRows,  // the cursor row and the count's rows below it (dd, yy)
  kMotionDown,   // j: count rows down
  kMotionUp,     // k: count rows up
  kMotionGo,     // G: the count's row, or the last
  kMotionMark,   // 'x: the mark's row
};

// One command: up to three characters ("?" after the first stands for any
// one character, the name of a mark), its length, its repeat flag, and what runs it. A
// table ends with an entry of length 0.
struct CommandEntry {
  char sequence[4];
  int length;
  int repeat;
  CommandAction action;
  CommandMotion motion;
  char arg;
};

// The key-table versions: "1.5a" for key mode vilike, "1.9" otherwise.
constexpr char kVersion15a[] = "1.5a";
constexpr char kVersion19[] = "1.9";

// The table a version selects: a version greater than "1.5a" (compared as
// byte strings) selects the 1.9 table, any other the 1.5a table.
const CommandEntry* CommandTable(const char* version);

// Whether a typed sequence is a whole command (1), the beginning of one or
// a count so far (0), or can begin none (-1). A count in front is
// accepted with either table here.
int CheckKeySeq(const char* version, const char* sequence);

// A typed sequence taken apart: the count in front and the command after
// it, as the table names it ("?" replaced by the typed mark name).
struct ParsedCommand {
  long long count = 0;  // 0: none given
  bool countTooLarge = false;  // more than a 32-bit signed integer holds
  const CommandEntry* entry = nullptr;  // null: no command of the table
  char command[4] = {};
};

// Finds the entry whose length and characters equal those after the
// count, the table's "?" at the last position standing for any character.
ParsedCommand ParseCommand(const CommandEntry* table, const char* sequence);

// Whether a character the list receives (a UTF-16 unit, as a Unicode
// window gets it) can be part of a command of the version's table:
// printable ASCII, or a control character one of its commands types.
// Anything else (text from an input method, a NUL) is no command key,
// and must never reach the table through its low byte.
bool IsCommandCharacter(unsigned unit, const char* version);

// The characters typed in a vi-like mode that have not yet made a whole
// command. Only a run of digits can grow it past a few characters; one
// that would not fit is rejected like an unknown command.
class PendingKeys {
 public:
  enum Result { kWaiting, kComplete, kRejected };

  // Adds the character (a UTF-16 unit) and judges the sequence by the
  // version's table. kComplete: the sequence (Text()) is a whole command,
  // to be run and then cleared; kRejected: the sequence has been emptied
  // (also for a character that is no command key).
  Result Add(unsigned unit, const char* version);
  const char* Text() const { return text_; }
  void Clear();

  static constexpr std::size_t kCapacity = 32;

 private:
  char text_[kCapacity + 1] = {};
  std::size_t length_ = 0;
};

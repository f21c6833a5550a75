// The vocabulary of the two vi-like key modes: the command tables, the
// matcher that tells a typed sequence apart as waiting, whole or
// rejected, and the pending sequence the keys collect in. No window
// system here; DoKeySeq (commands.h) carries the commands out.
#pragma once

#include <cstddef>

// What a command does to the repeat register once it has run.
enum RepeatFlag : int {
  kRepeatNone = 0,    // leaves it alone
  kRepeatStore = 1,   // becomes its content
  kRepeatReplay = 2,  // the repeat command itself
};

// One command: up to three characters ("?" stands for any one character,
// the name of a mark), its length, its repeat flag. A table ends with an
// entry of length 0.
struct CommandEntry {
  char sequence[4];
  int length;
  int repeat;
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

#include "listwin/command_table.h"

#include <climits>
#include <cstring>

namespace {

// Ctrl+F, Ctrl+D, Ctrl+B, Ctrl+U, Enter and Escape as the characters they type.
#define CTRL_F "\x06"
#define CTRL_D "\x04"
#define CTRL_B "\x02"
#define CTRL_U "\x15"

// Each command with the action that runs it, the motion that gives its
// target row, and the action's argument.
constexpr CommandEntry kTable19[] = {
    {"e", 1, kRepeatNone, kDoView, kNoMotion, 'e'},
    {"E", 1, kRepeatNone, kDoView, kNoMotion, 'E'},
    {"dd", 2, kRepeatStore, kDoDelete, kCountedRows, 0},
    {"d'?", 3, kRepeatStore, kDoDelete, kMotionMark, 0},
    {"dj", 2, kRepeatStore, kDoDelete, kMotionDown, 0},
    {"dk", 2, kRepeatStore, kDoDelete, kMotionUp, 0},
    {"dG", 2, kRepeatStore, kDoDelete, kMotionGo, 0},
    {"yy", 2, kRepeatNone, kDoCopy, kCountedRows, 0},
    {"y'?", 3, kRepeatNone, kDoCopy, kMotionMark, 0},
    {"yj", 2, kRepeatNone, kDoCopy, kMotionDown, 0},
    {"yk", 2, kRepeatNone, kDoCopy, kMotionUp, 0},
    {"yG", 2, kRepeatNone, kDoCopy, kMotionGo, 0},
    {"Yy", 2, kRepeatNone, kDoCopy, kCountedRows, kCopyQuoted},
    {"YY", 2, kRepeatNone, kDoCopy, kCountedRows, kCopyQuoted},
    {"Y'?", 3, kRepeatNone, kDoCopy, kMotionMark, kCopyQuoted},
    {"Yj", 2, kRepeatNone, kDoCopy, kMotionDown, kCopyQuoted},
    {"Yk", 2, kRepeatNone, kDoCopy, kMotionUp, kCopyQuoted},
    {"YG", 2, kRepeatNone, kDoCopy, kMotionGo, kCopyQuoted},
    {"vv", 2, kRepeatStore, kDoCopy, kCountedRows, kCopyThenOk},
    {"v'?", 3, kRepeatStore, kDoCopy, kMotionMark, kCopyThenOk},
    {"vj", 2, kRepeatStore, kDoCopy, kMotionDown, kCopyThenOk},
    {"vk", 2, kRepeatStore, kDoCopy, kMotionUp, kCopyThenOk},
    {"vG", 2, kRepeatStore, kDoCopy, kMotionGo, kCopyThenOk},
    {"Vv", 2, kRepeatStore, kDoCopy, kCountedRows, kCopyQuoted | kCopyThenOk},
    {"VV", 2, kRepeatStore, kDoCopy, kCountedRows, kCopyQuoted | kCopyThenOk},
    {"V'?", 3, kRepeatStore, kDoCopy, kMotionMark, kCopyQuoted | kCopyThenOk},
    {"Vj", 2, kRepeatStore, kDoCopy, kMotionDown, kCopyQuoted | kCopyThenOk},
    {"Vk", 2, kRepeatStore, kDoCopy, kMotionUp, kCopyQuoted | kCopyThenOk},
    {"VG", 2, kRepeatStore, kDoCopy, kMotionGo, kCopyQuoted | kCopyThenOk},
    {"ss", 2, kRepeatStore, kDoSelect, kCountedRows, 0},
    {"s'?", 3, kRepeatStore, kDoSelect, kMotionMark, 0},
    {"sj", 2, kRepeatStore, kDoSelect, kMotionDown, 0},
    {"sk", 2, kRepeatStore, kDoSelect, kMotionUp, 0},
    {"sG", 2, kRepeatStore, kDoSelect, kMotionGo, 0},
    {"sc", 2, kRepeatNone, kDoUnselect, kNoMotion, 0},
    {"sa", 2, kRepeatNone, kDoSelectAll, kNoMotion, 0},
    {"j", 1, kRepeatNone, kDoMove, kMotionDown, 0},
    {"k", 1, kRepeatNone, kDoMove, kMotionUp, 0},
    {"G", 1, kRepeatNone, kDoMove, kMotionGo, 0},
    {"p", 1, kRepeatStore, kDoPut, kNoMotion, 'p'},
    {"P", 1, kRepeatStore, kDoPut, kNoMotion, 'P'},
    {CTRL_F, 1, kRepeatNone, kDoPage, kNoMotion, 'f'},
    {CTRL_D, 1, kRepeatNone, kDoPage, kNoMotion, 'd'},
    {CTRL_B, 1, kRepeatNone, kDoPage, kNoMotion, 'b'},
    {CTRL_U, 1, kRepeatNone, kDoPage, kNoMotion, 'u'},
    {"\r", 1, kRepeatNone, kDoOk, kNoMotion, 0},
    {"\x1b", 1, kRepeatNone, kDoHide, kNoMotion, 0},
    {"'?", 2, kRepeatNone, kDoMove, kMotionMark, 0},
    {"m?", 2, kRepeatNone, kDoMark, kNoMotion, 0},
    {".", 1, kRepeatReplay, kDoNothing, kNoMotion, 0},
    {"o", 1, kRepeatNone, kDoOpen, kNoMotion, 'o'},
    {"O", 1, kRepeatNone, kDoOpen, kNoMotion, 'O'},
    {"/", 1, kRepeatNone, kDoFind, kNoMotion, '/'},
    {"?", 1, kRepeatNone, kDoFind, kNoMotion, '?'},
    {"n", 1, kRepeatNone, kDoFindAgain, kNoMotion, 'n'},
    {"N", 1, kRepeatNone, kDoFindAgain, kNoMotion, 'N'},
    {"aa", 2, kRepeatStore, kDoAddPhrase, kCountedRows, 0},
    {"a'?", 3, kRepeatStore, kDoAddPhrase, kMotionMark, 0},
    {"aj", 2, kRepeatStore, kDoAddPhrase, kMotionDown, 0},
    {"ak", 2, kRepeatStore, kDoAddPhrase, kMotionUp, 0},
    {"aG", 2, kRepeatStore, kDoAddPhrase, kMotionGo, 0},
    {"", 0, kRepeatNone, kDoNothing, kNoMotion, 0},
};

// The older key table: one-letter commands without counts or marks. Its
// y and Y copy without pasting, p and P paste; both hand over to the OK
// command at once.
constexpr CommandEntry kTable15a[] = {
    {"d", 1, kRepeatStore, kDoDelete, kCountedRows, 0},
    {"y", 1, kRepeatStore, kDoCopy, kCountedRows, kCopyThenOk | kCopyOnlyCopy},
    {"Y", 1, kRepeatStore, kDoCopy, kCountedRows, kCopyQuoted | kCopyThenOk | kCopyOnlyCopy},
    {"j", 1, kRepeatNone, kDoMove, kMotionDown, 0},
    {"k", 1, kRepeatNone, kDoMove, kMotionUp, 0},
    {"G", 1, kRepeatNone, kDoMove, kMotionGo, 0},
    {"p", 1, kRepeatStore, kDoCopy, kCountedRows, kCopyThenOk},
    {"P", 1, kRepeatStore, kDoCopy, kCountedRows, kCopyQuoted | kCopyThenOk},
    {CTRL_F, 1, kRepeatNone, kDoPage, kNoMotion, 'f'},
    {CTRL_D, 1, kRepeatNone, kDoPage, kNoMotion, 'd'},
    {CTRL_B, 1, kRepeatNone, kDoPage, kNoMotion, 'b'},
    {CTRL_U, 1, kRepeatNone, kDoPage, kNoMotion, 'u'},
    {".", 1, kRepeatReplay, kDoNothing, kNoMotion, 0},
    {"/", 1, kRepeatNone, kDoFind, kNoMotion, '/'},
    {"?", 1, kRepeatNone, kDoFind, kNoMotion, '?'},
    {"n", 1, kRepeatNone, kDoFindAgain, kNoMotion, 'n'},
    {"N", 1, kRepeatNone, kDoFindAgain, kNoMotion, 'N'},
    {"a", 1, kRepeatStore, kDoAddPhrase, kCountedRows, 0},
    {"", 0, kRepeatNone, kDoNothing, kNoMotion, 0},
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

const char* SkipCount(const char* sequence) {
  while (IsDigit(*sequence)) ++sequence;
  return sequence;
}

// The entry's characters with its "?" at position `at` taken as `c`. A
// "?" that begins a sequence is the character itself (the search
// backwards): a mark's name always follows the character that asks for it.
void Fill(const CommandEntry& e, std::size_t at, char c, char out[4]) {
  std::memcpy(out, e.sequence, 4);
  if (at > 0 && at < 3 && out[at] == '?') out[at] = c;
}

// The first entry whose characters begin with the n characters of `rest`
// (with `whole`: that has exactly those characters), its "?" taken as
// the typed character; `filled` gets the entry as typed.
const CommandEntry* FindEntry(const CommandEntry* table, const char* rest, std::size_t n,
                              bool whole, char filled[4]) {
  for (const CommandEntry* e = table; e->length != 0; ++e) {
    if (whole && e->length != static_cast<int>(n)) continue;
    Fill(*e, n - 1, rest[n - 1], filled);
    if (std::strlen(filled) >= n && std::memcmp(filled, rest, n) == 0) return e;
  }
  return nullptr;
}

}  // namespace

const CommandEntry* CommandTable(const char* version) {
  return std::strcmp(version, kVersion15a) > 0 ? kTable19 : kTable15a;
}

int CheckKeySeq(const char* version, const char* sequence) {
  const char* rest = SkipCount(sequence);
  const std::size_t n = std::strlen(rest);
  if (n == 0) return 0;
  if (n > 3) return -1;
  char filled[4];
  const CommandEntry* e = FindEntry(CommandTable(version), rest, n, false, filled);
  if (!e) return -1;
  return e->length == static_cast<int>(n) ? 1 : 0;
}

ParsedCommand ParseCommand(const CommandEntry* table, const char* sequence) {
  ParsedCommand parsed;
  const char* rest = sequence;
  for (; IsDigit(*rest); ++rest) {
    if (parsed.count > (LLONG_MAX - 9) / 10) continue;  // far too large already
    parsed.count = parsed.count * 10 + (*rest - '0');
  }
  parsed.countTooLarge = parsed.count > INT_MAX;
  const std::size_t n = std::strlen(rest);
  if (n == 0 || n > 3) return parsed;
  char filled[4];
  parsed.entry = FindEntry(table, rest, n, true, filled);
  if (parsed.entry) std::memcpy(parsed.command, filled, 4);
  return parsed;
}

bool IsCommandCharacter(unsigned unit, const char* version) {
  if (unit >= 0x20 && unit <= 0x7e) return true;
  if (unit == 0 || unit >= 0x20) return false;
  for (const CommandEntry* e = CommandTable(version); e->length != 0; ++e)
    if (std::memchr(e->sequence, static_cast<int>(unit), static_cast<std::size_t>(e->length)))
      return true;
  return false;
}

PendingKeys::Result PendingKeys::Add(unsigned unit, const char* version) {
  if (length_ == kCapacity || !IsCommandCharacter(unit, version)) {
    Clear();
    return kRejected;
  }
  text_[length_++] = static_cast<char>(unit);
  text_[length_] = '\0';
  switch (CheckKeySeq(version, text_)) {
    case 1:
      return kComplete;
    case 0:
      return kWaiting;
  }
  Clear();
  return kRejected;
}

void PendingKeys::Clear() {
  length_ = 0;
  text_[0] = '\0';
}

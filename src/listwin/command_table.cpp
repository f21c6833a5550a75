#include "listwin/command_table.h"

#include <climits>
#include <cstring>

namespace {

// Ctrl+F, Ctrl+D, Ctrl+B, Ctrl+U, Enter and Escape as the characters they type.
#define CTRL_F "\x06"
#define CTRL_D "\x04"
#define CTRL_B "\x02"
#define CTRL_U "\x15"

constexpr CommandEntry kTable19[] = {
    {"e", 1, kRepeatNone},     {"E", 1, kRepeatNone},     {"dd", 2, kRepeatStore},
    {"d'?", 3, kRepeatStore},  {"dj", 2, kRepeatStore},   {"dk", 2, kRepeatStore},
    {"dG", 2, kRepeatStore},   {"yy", 2, kRepeatNone},    {"y'?", 3, kRepeatNone},
    {"yj", 2, kRepeatNone},    {"yk", 2, kRepeatNone},    {"yG", 2, kRepeatNone},
    {"Yy", 2, kRepeatNone},    {"YY", 2, kRepeatNone},    {"Y'?", 3, kRepeatNone},
    {"Yj", 2, kRepeatNone},    {"Yk", 2, kRepeatNone},    {"YG", 2, kRepeatNone},
    {"vv", 2, kRepeatStore},   {"v'?", 3, kRepeatStore},  {"vj", 2, kRepeatStore},
    {"vk", 2, kRepeatStore},   {"vG", 2, kRepeatStore},   {"Vv", 2, kRepeatStore},
    {"VV", 2, kRepeatStore},   {"V'?", 3, kRepeatStore},  {"Vj", 2, kRepeatStore},
    {"Vk", 2, kRepeatStore},   {"VG", 2, kRepeatStore},   {"ss", 2, kRepeatStore},
    {"s'?", 3, kRepeatStore},  {"sj", 2, kRepeatStore},   {"sk", 2, kRepeatStore},
    {"sG", 2, kRepeatStore},   {"sc", 2, kRepeatNone},    {"sa", 2, kRepeatNone},
    {"j", 1, kRepeatNone},     {"k", 1, kRepeatNone},     {"G", 1, kRepeatNone},
    {"p", 1, kRepeatStore},    {"P", 1, kRepeatStore},    {CTRL_F, 1, kRepeatNone},
    {CTRL_D, 1, kRepeatNone},  {CTRL_B, 1, kRepeatNone},  {CTRL_U, 1, kRepeatNone},
    {"\r", 1, kRepeatNone},    {"\x1b", 1, kRepeatNone},  {"'?", 2, kRepeatNone},
    {"m?", 2, kRepeatNone},    {".", 1, kRepeatReplay},   {"o", 1, kRepeatNone},
    {"O", 1, kRepeatNone},     {"", 0, kRepeatNone},
};

constexpr CommandEntry kTable15a[] = {
    {"d", 1, kRepeatStore},   {"y", 1, kRepeatStore},   {"Y", 1, kRepeatStore},
    {"j", 1, kRepeatNone},    {"k", 1, kRepeatNone},    {"G", 1, kRepeatNone},
    {"p", 1, kRepeatStore},   {"P", 1, kRepeatStore},   {CTRL_F, 1, kRepeatNone},
    {CTRL_D, 1, kRepeatNone}, {CTRL_B, 1, kRepeatNone}, {CTRL_U, 1, kRepeatNone},
    {".", 1, kRepeatReplay},  {"", 0, kRepeatNone},
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

const char* SkipCount(const char* sequence) {
  while (IsDigit(*sequence)) ++sequence;
  return sequence;
}

// The entry's characters with its "?" at position `at` taken as `c`.
void Fill(const CommandEntry& e, std::size_t at, char c, char out[4]) {
  std::memcpy(out, e.sequence, 4);
  if (at < 3 && out[at] == '?') out[at] = c;
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

#include "settings/settings_codec.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr char kOpe[] = "OPE";
constexpr char kStr[] = "STR";
constexpr char kKaigyo[] = "KAIGYO";
constexpr char kWin[] = "WIN";

// A word of the file and the code it stands for.
struct Word {
  const char* text;
  int code;
};
constexpr Word kDataWords[] = {{"new", kDataNew}, {"old", kDataOld}};
constexpr Word kCursorWords[] = {{"top", kCursorTop}, {"last", kCursorLast}};
constexpr Word kKeyWords[] = {
    {"vilike", kKeyVilike}, {"normal", kKeyNormal}, {"vilike1.9", kKeyVilike19}};
constexpr Word kLfWords[] = {{"lfnone", kLfNone}, {"lfok", kLfOk}, {"lfinyo", kLfInyo}};

// Reading: the code of an exactly matching word, else the fallback (the
// comparison is case-sensitive, so "NORMAL" is no word).
template <size_t N>
int CodeOf(const std::string& text, const Word (&words)[N], int fallback) {
  for (const Word& w : words)
    if (text == w.text) return w.code;
  return fallback;
}

// Writing: the word of a code; a code without a word is written as the
// last word of the table, which is also what reading falls back to.
template <size_t N>
const char* WordOf(int code, const Word (&words)[N]) {
  for (const Word& w : words)
    if (code == w.code) return w.text;
  return words[N - 1].text;
}

const char* Bool(bool value) { return value ? "true" : "false"; }

std::string Quoted(const char* text) { return std::string("\"") + text + "\""; }

// The modifier byte of a hotkey word from the three boolean keys.
unsigned ReadModifiers(const ProfileSource& source, const char* alt, const char* ctrl,
                       const char* shift) {
  unsigned flags = 0;
  if (source.Text(kOpe, ctrl) == "true") flags |= kHotkeyControl;
  if (source.Text(kOpe, alt) == "true") flags |= kHotkeyAlt;
  if (source.Text(kOpe, shift) == "true") flags |= kHotkeyShift;
  return flags;
}

// A hotkey is taken from the file only when its key code is given: an
// absent or cleared key keeps the default, whatever the modifiers say.
void ReadHotkey(const ProfileSource& source, const char* alt, const char* ctrl, const char* shift,
                const char* vk, std::uint16_t* word) {
  const unsigned flags = ReadModifiers(source, alt, ctrl, shift);
  int code = source.Number(kOpe, vk);
  if (code == kAbsentNumber) code = 0;
  if (code != 0) *word = MakeHotkeyWord(static_cast<std::uint16_t>(flags), code & 0xFF);
}

void ReadQuoted(const ProfileSource& source, const char* key, char (&field)[kQuoteBufferSize]) {
  const std::string text = source.Text(kStr, key);
  if (text == kAbsentText) return;
  const size_t n = text.size() < kQuoteBufferSize - 1 ? text.size() : kQuoteBufferSize - 1;
  std::memcpy(field, text.data(), n);
  field[n] = '\0';
}

int NumberOr(const ProfileSource& source, const char* section, const char* key, int fallback) {
  const int value = source.Number(section, key);
  return value == kAbsentNumber ? fallback : value;
}

void WriteHotkey(std::vector<IniEntry>* out, std::uint16_t word, const char* alt,
                 const char* ctrl, const char* shift, const char* vk) {
  const unsigned flags = word >> 8;
  out->push_back({kOpe, alt, Bool(flags & kHotkeyAlt)});
  out->push_back({kOpe, ctrl, Bool(flags & kHotkeyControl)});
  out->push_back({kOpe, shift, Bool(flags & kHotkeyShift)});
  out->push_back({kOpe, vk, std::to_string(word & 0xFF)});
}

}  // namespace

bool IsFirstRun(const ProfileSource& source) {
  return source.Number(kMarkerSection, kMarkerKey) == kAbsentNumber;
}

void ResetReadDefaults(Settings* settings) {
  const Settings defaults;
  settings->listHotkey = defaults.listHotkey;
  settings->pauseHotkey = defaults.pauseHotkey;
  settings->data = defaults.data;
  settings->cursor = defaults.cursor;
  settings->key = defaults.key;
  settings->lf = defaults.lf;
  std::memcpy(settings->inyo, defaults.inyo, sizeof defaults.inyo);
  std::memcpy(settings->foot, defaults.foot, sizeof defaults.foot);
  settings->sus = defaults.sus;
  settings->sussave = defaults.sussave;
  settings->lfbyte = defaults.lfbyte;
}

void DecodeSettings(const ProfileSource& source, Settings* s) {
  const Settings defaults;
  s->data = CodeOf(source.Text(kOpe, "data"), kDataWords, kDataOld);
  s->cursor = CodeOf(source.Text(kOpe, "cursor"), kCursorWords, kCursorLast);
  ReadHotkey(source, "alt", "ctrl", "shift", "vk", &s->listHotkey);
  ReadHotkey(source, "alt_sus", "ctrl_sus", "shift_sus", "vk_sus", &s->pauseHotkey);
  s->key = CodeOf(source.Text(kOpe, "key"), kKeyWords, kKeyVilike19);
  s->lf = CodeOf(source.Text(kOpe, "lf"), kLfWords, kLfInyo);
  ReadQuoted(source, "inyo", s->inyo);
  ReadQuoted(source, "foot", s->foot);
  s->lfbyte = NumberOr(source, kKaigyo, "lfbyte", 0);
  s->sussave = source.Text(kOpe, "sussave") == "true" ? kYes : kNo;
  // The paused state is restored only when the user asked for it.
  s->sus = s->sussave == kYes && source.Text(kOpe, "sus") == "true" ? 1 : 0;
  s->stdel = source.Text(kOpe, "stdel") == "true" ? 1 : 0;
  // An absent key hides the list: the behaviour of files from before the
  // key existed. Any word other than "false" keeps it.
  const std::string hide = source.Text(kWin, "actv_hide");
  s->actv_hide = hide == "false" || hide == kAbsentText ? kHide : kStay;
  s->topmost = source.Text(kWin, "topmost") == "false" ? kNo : kYes;
  s->size = source.Text(kWin, "size") == "true" ? kYes : kNo;
  s->size_lx = NumberOr(source, kWin, "size_lx", defaults.size_lx);
  s->size_ly = NumberOr(source, kWin, "size_ly", defaults.size_ly);
  s->size_lw = NumberOr(source, kWin, "size_lw", defaults.size_lw);
  s->size_lh = NumberOr(source, kWin, "size_lh", defaults.size_lh);
  s->size_vx = NumberOr(source, kWin, "size_vx", defaults.size_vx);
  s->size_vy = NumberOr(source, kWin, "size_vy", defaults.size_vy);
  s->size_vw = NumberOr(source, kWin, "size_vw", defaults.size_vw);
  s->size_vh = NumberOr(source, kWin, "size_vh", defaults.size_vh);
}

int ParseWrapColumn(const char* text) {
  const char* p = text;
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r') ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  long long value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + (*p - '0');
    if (value > 2147483648LL) break;  // past every int: the digits after change nothing
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return 2147483647;
  if (value < -2147483647LL - 1) return -2147483647 - 1;
  return static_cast<int>(value);
}

std::vector<IniEntry> EncodeSettings(const Settings& s) {
  std::vector<IniEntry> out;
  WriteHotkey(&out, s.listHotkey, "alt", "ctrl", "shift", "vk");
  WriteHotkey(&out, s.pauseHotkey, "alt_sus", "ctrl_sus", "shift_sus", "vk_sus");
  out.push_back({kOpe, "data", WordOf(s.data, kDataWords)});
  out.push_back({kOpe, "cursor", WordOf(s.cursor, kCursorWords)});
  out.push_back({kOpe, "key", WordOf(s.key, kKeyWords)});
  out.push_back({kOpe, "lf", WordOf(s.lf, kLfWords)});
  out.push_back({kStr, "inyo", Quoted(s.inyo)});
  out.push_back({kStr, "foot", Quoted(s.foot)});
  out.push_back({kKaigyo, "lfbyte", std::to_string(s.lfbyte)});
  out.push_back({kOpe, "sussave", Bool(s.sussave == kYes)});
  out.push_back({kOpe, "sus", Bool(s.sus == 1)});
  out.push_back({kOpe, "stdel", Bool(s.stdel == 1)});
  out.push_back({kWin, "actv_hide", Bool(s.actv_hide != kHide)});
  out.push_back({kWin, "topmost", Bool(s.topmost == kYes)});
  out.push_back({kWin, "size", Bool(s.size == kYes)});
  const struct {
    const char* key;
    int value;
  } rectangle[] = {{"size_lx", s.size_lx}, {"size_ly", s.size_ly}, {"size_lw", s.size_lw},
                   {"size_lh", s.size_lh}, {"size_vx", s.size_vx}, {"size_vy", s.size_vy},
                   {"size_vw", s.size_vw}, {"size_vh", s.size_vh}};
  for (const auto& r : rectangle) out.push_back({kWin, r.key, std::to_string(r.value)});
  return out;
}

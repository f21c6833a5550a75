#include "settings/settings_codec.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "settings/settings_fields.h"

namespace {

// Reading: the code of an exactly matching word, else the fallback (the
// comparison is case-sensitive, so "NORMAL" is no word).
int CodeOf(const SettingsField& field, const std::string& text) {
  for (std::size_t i = 0; i < field.wordCount; ++i)
    if (text == field.words[i].text) return field.words[i].code;
  return FallbackWord(field).code;
}

// Writing: the word of a code; a code without a word is written as the
// fallback word, which is also what reading falls back to.
const char* WordOf(const SettingsField& field, int code) {
  for (std::size_t i = 0; i < field.wordCount; ++i)
    if (code == field.words[i].code) return field.words[i].text;
  return FallbackWord(field).text;
}

const char* Bool(bool value) { return value ? "true" : "false"; }

std::string Quoted(const char* text) { return std::string("\"") + text + "\""; }

int FlagOf(const FieldFlag& flag, const std::string& text, const Settings& read) {
  if (flag.onlyWhenYes && read.*flag.onlyWhenYes != kYes) return flag.falseCode;
  switch (flag.read) {
    case FlagRead::kTrueOnlyForTrue:
      return text == "true" ? flag.trueCode : flag.falseCode;
    case FlagRead::kFalseOnlyForFalse:
      return text == "false" ? flag.falseCode : flag.trueCode;
    case FlagRead::kFalseForFalseOrAbsent:
      return text == "false" || text == kAbsentText ? flag.falseCode : flag.trueCode;
  }
  return flag.falseCode;
}

bool WritesTrue(const FieldFlag& flag, int code) {
  return flag.write == FlagWrite::kTrueForTrueCode ? code == flag.trueCode
                                                   : code != flag.falseCode;
}

// One of a hotkey's four key names: "alt", "ctrl", "shift" or "vk" with
// the field's ending. Each name is made once and kept, as the written
// entries point at their names.
const char* HotkeyKeyName(const char* part, const SettingsField& field) {
  static std::set<std::string> names;
  return names.insert(std::string(part) + field.key).first->c_str();
}

// A hotkey is taken from the file only when its key code is given: an
// absent or cleared key keeps the default, whatever the modifiers say.
void ReadHotkey(const ProfileSource& source, const SettingsField& field, Settings* settings) {
  const auto on = [&](const char* part) {
    return source.Text(field.section, HotkeyKeyName(part, field)) == "true";
  };
  const unsigned flags = (on("ctrl") ? kHotkeyControl : 0u) | (on("alt") ? kHotkeyAlt : 0u) |
                         (on("shift") ? kHotkeyShift : 0u);
  int code = source.Number(field.section, HotkeyKeyName("vk", field));
  if (code == kAbsentNumber) code = 0;
  if (code != 0)
    settings->*field.hotkey = MakeHotkeyWord(static_cast<std::uint16_t>(flags), code & 0xFF);
}

// An absent text keeps what the field holds; a longer one is cut to the
// field's buffer.
void ReadQuoted(const ProfileSource& source, const SettingsField& field, Settings* settings) {
  const std::string text = source.Text(field.section, field.key);
  if (text == kAbsentText) return;
  char* buffer = settings->*field.text;
  const std::size_t n = std::min({text.size(), field.readMost, std::size_t{kQuoteBufferSize - 1}});
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

// An absent number gives the field's default.
int NumberOf(const ProfileSource& source, const SettingsField& field, const Settings& defaults) {
  const int value = source.Number(field.section, field.key);
  return value == kAbsentNumber ? defaults.*field.code : value;
}

void ReadField(const ProfileSource& source, const SettingsField& field, const Settings& defaults,
               Settings* settings) {
  switch (field.codec) {
    case FieldCodec::kWords:
      settings->*field.code = CodeOf(field, source.Text(field.section, field.key));
      break;
    case FieldCodec::kFlag:
      settings->*field.code = FlagOf(field.flag, source.Text(field.section, field.key), *settings);
      break;
    case FieldCodec::kNumber:
      settings->*field.code = NumberOf(source, field, defaults);
      break;
    case FieldCodec::kQuoted:
      ReadQuoted(source, field, settings);
      break;
    case FieldCodec::kHotkey:
      ReadHotkey(source, field, settings);
      break;
  }
}

void WriteHotkey(const SettingsField& field, std::uint16_t word, std::vector<IniEntry>* out) {
  const unsigned flags = word >> 8;
  out->push_back({field.section, HotkeyKeyName("alt", field), Bool(flags & kHotkeyAlt)});
  out->push_back({field.section, HotkeyKeyName("ctrl", field), Bool(flags & kHotkeyControl)});
  out->push_back({field.section, HotkeyKeyName("shift", field), Bool(flags & kHotkeyShift)});
  out->push_back({field.section, HotkeyKeyName("vk", field), std::to_string(word & 0xFF)});
}

void WriteField(const SettingsField& field, const Settings& settings, std::vector<IniEntry>* out) {
  switch (field.codec) {
    case FieldCodec::kWords:
      out->push_back({field.section, field.key, WordOf(field, settings.*field.code)});
      break;
    case FieldCodec::kFlag:
      out->push_back(
          {field.section, field.key, Bool(WritesTrue(field.flag, settings.*field.code))});
      break;
    case FieldCodec::kNumber:
      out->push_back({field.section, field.key, std::to_string(settings.*field.code)});
      break;
    case FieldCodec::kQuoted:
      out->push_back({field.section, field.key, Quoted(settings.*field.text)});
      break;
    case FieldCodec::kHotkey:
      WriteHotkey(field, settings.*field.hotkey, out);
      break;
  }
}

void CopyField(const SettingsField& field, const Settings& from, Settings* to) {
  switch (field.codec) {
    case FieldCodec::kHotkey:
      to->*field.hotkey = from.*field.hotkey;
      break;
    case FieldCodec::kQuoted:
      std::memcpy(to->*field.text, from.*field.text, sizeof(from.*field.text));
      break;
    case FieldCodec::kWords:
    case FieldCodec::kFlag:
    case FieldCodec::kNumber:
      to->*field.code = from.*field.code;
      break;
  }
}

}  // namespace

bool IsFirstRun(const ProfileSource& source) {
  return source.Number(kMarkerSection, kMarkerKey) == kAbsentNumber;
}

void ResetReadDefaults(Settings* settings) {
  const Settings defaults;
  for (const SettingsField& field : SettingsFields())
    if (field.onRead == OnRead::kFromDefault) CopyField(field, defaults, settings);
}

// In the table's order, which a flag read only while another field says
// yes relies on.
void DecodeSettings(const ProfileSource& source, Settings* settings) {
  const Settings defaults;
  for (const SettingsField& field : SettingsFields()) ReadField(source, field, defaults, settings);
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

std::vector<IniEntry> EncodeSettings(const Settings& settings) {
  std::vector<IniEntry> out;
  for (const SettingsField& field : SettingsFields()) WriteField(field, settings, &out);
  return out;
}

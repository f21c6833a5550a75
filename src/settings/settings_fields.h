// Every field of the settings record in one table: where the INI file
// keeps it, how its value is coded there, whether a read starts it from
// its default, and which controls of the settings dialog show it. The
// reader, the writer and the dialog all walk this table, so that a field
// is described once.
#pragma once

#include <cstddef>
#include <cstdint>

#include "settings/settings.h"

enum class FieldCodec {
  kWords,   // one word of a list, each word standing for a code
  kFlag,    // "true" or "false", each standing for a code
  kNumber,  // a decimal number
  kQuoted,  // a text, written in double quotes
  kHotkey,  // a hotkey word, in four keys: alt, ctrl, shift and vk
};

// Whether every read starts the field from its default. A field that
// does not keeps what it holds when the read stops early (on a first run).
enum class OnRead { kFromDefault, kKeeps };

// A word of the file, the code it stands for, and its radio button.
struct FieldWord {
  const char* text;
  int code;
  int control;
};

// What the dialog makes of a word field none of whose radio buttons is
// ticked: the fallback word's code, or the code the field holds.
enum class Unticked { kTakesFallback, kKeeps };

// Which code a stored flag gives when it is neither "true" nor "false".
enum class FlagRead {
  kTrueOnlyForTrue,       // anything but "true", an absent key too, is the false code
  kFalseOnlyForFalse,     // anything but "false", an absent key too, is the true code
  kFalseForFalseOrAbsent  // "false" and an absent key are the false code, other words the true
};

// Which code decides what a flag writes; any other code writes the
// other word.
enum class FlagWrite { kTrueForTrueCode, kFalseForFalseCode };

struct FieldFlag {
  int trueCode;
  int falseCode;
  FlagRead read;
  FlagWrite write;
  int tickedCode;  // the code of a ticked check box; the other code is a cleared one
  // When set, the stored word counts only while this field reads kYes
  // (it must come earlier in the table); otherwise the false code.
  int Settings::*onlyWhenYes;
};

struct SettingsField {
  const char* section = nullptr;
  const char* key = nullptr;  // for a hotkey, the ending of its four keys' names
  FieldCodec codec = FieldCodec::kNumber;
  OnRead onRead = OnRead::kKeeps;
  // The member the field fills: `code` for words, flags and numbers.
  int Settings::*code = nullptr;
  std::uint16_t Settings::*hotkey = nullptr;
  char (Settings::*text)[kQuoteBufferSize] = nullptr;
  const FieldWord* words = nullptr;
  std::size_t wordCount = 0;
  Unticked unticked = Unticked::kTakesFallback;
  FieldFlag flag = {};
  int control = 0;  // the dialog control, 0 for none; a word field names one per word
  int limit = 0;    // the most bytes the dialog takes from its edit control
  // The most bytes of a text a read takes: the quote prefix and footer
  // have always been read back cut at 255.
  std::size_t readMost = 255;
};

struct SettingsFieldList {
  const SettingsField* first;
  const SettingsField* last;
  const SettingsField* begin() const { return first; }
  const SettingsField* end() const { return last; }
};

// Every field, in the order the INI file is written.
SettingsFieldList SettingsFields();

// The fallback of a word field: what a word outside its list reads as,
// and the word a code outside it is written as.
const FieldWord& FallbackWord(const SettingsField& field);

// The settings record as the INI file stores it: each field of the
// settings table (settings_fields.h) read and written by its codec.
// No file access here: the reader gets the stored texts and numbers from
// a ProfileSource, the writer gives the ordered list of keys and values.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "settings/settings.h"

constexpr char kIniFileName[] = "kopiwell.ini";

// What the profile functions give for an absent key: reads of texts use
// this text as their default and reads of numbers this number.
constexpr char kAbsentText[] = "error";
constexpr int kAbsentNumber = 999;

// The longest text a read gives: the most a text field holds.
constexpr std::size_t kTextMost = kQuoteBufferSize - 2;

// The stored settings, as the system's profile functions read them.
class ProfileSource {
 public:
  virtual ~ProfileSource() = default;
  // The value without surrounding blanks and one pair of enclosing
  // quotes, cut to kTextMost bytes; kAbsentText when the key is absent.
  virtual std::string Text(const char* section, const char* key) const = 0;
  // The value's leading decimal number, 0 for a text that is no number;
  // kAbsentNumber when the key is absent.
  virtual int Number(const char* section, const char* key) const = 0;
};

// The first-run marker: written once, before the first-run dialog.
constexpr char kMarkerSection[] = "REG";
constexpr char kMarkerKey[] = "reg";
constexpr char kMarkerValue[] = "ok";

// A first run is one without the marker; "ok" reads as the number 0.
bool IsFirstRun(const ProfileSource& source);

// The fields that every read starts from their defaults; the others keep
// what they hold (their defaults at process start).
void ResetReadDefaults(Settings* settings);

// Reads every key into the record by the reading rules.
void DecodeSettings(const ProfileSource& source, Settings* settings);

struct IniEntry {
  const char* section;
  const char* key;
  std::string value;
};

// Every key with its value, in the order they are written.
std::vector<IniEntry> EncodeSettings(const Settings& settings);

// The wrap column as typed in the settings dialog: leading white space,
// one optional sign, then the digits up to the first other character; no
// digits give 0. No range check beyond the limits of an int, where a
// longer number stops.
int ParseWrapColumn(const char* text);

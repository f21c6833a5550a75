// Reading and writing the settings record: the keys, their order and
// encodings, and how odd stored values read back.
#include "settings/settings_codec.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>

namespace {

// Stored values as a file would hold them, read back with the rules of the
// system's profile functions: blanks around the value and one pair of
// enclosing quotes are dropped, texts are cut to kTextMost bytes, a number is
// the value's leading decimal digits, and an absent or empty value gives
// the caller's default.
class FakeProfile : public ProfileSource {
 public:
  FakeProfile& Set(const char* section, const char* key, const std::string& raw) {
    values_[{section, key}] = raw;
    return *this;
  }
  FakeProfile& Marked() { return Set("REG", "reg", "ok"); }

  std::string Text(const char* section, const char* key) const override {
    auto it = values_.find({section, key});
    if (it == values_.end()) return kAbsentText;
    std::string v = it->second;
    while (!v.empty() && v.front() == ' ') v.erase(0, 1);
    while (!v.empty() && v.back() == ' ') v.pop_back();
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    return v.substr(0, kTextMost);
  }
  int Number(const char* section, const char* key) const override {
    const std::string v = Text(section, key);
    if (v == kAbsentText || v.empty()) return kAbsentNumber;
    return std::atoi(v.c_str());  // leading digits; none gives 0
  }

 private:
  std::map<std::pair<std::string, std::string>, std::string> values_;
};

Settings Decode(const FakeProfile& profile) {
  Settings s;
  ResetReadDefaults(&s);
  DecodeSettings(profile, &s);
  return s;
}

std::string Written(const Settings& s) {
  std::string text;
  for (const IniEntry& e : EncodeSettings(s))
    text += std::string(e.section) + "." + e.key + "=" + e.value + "\n";
  return text;
}

}  // namespace

TEST(SettingsCodec, FirstRunWritesEveryKeyInItsOrder) {
  EXPECT_EQ(
      "OPE.alt=false\nOPE.ctrl=true\nOPE.shift=false\nOPE.vk=55\n"
      "OPE.alt_sus=false\nOPE.ctrl_sus=true\nOPE.shift_sus=false\nOPE.vk_sus=56\n"
      "OPE.alt_phr=false\nOPE.ctrl_phr=false\nOPE.shift_phr=false\nOPE.vk_phr=0\n"
      "OPE.data=old\nOPE.cursor=last\nOPE.key=vilike1.9\nOPE.lf=lfinyo\n"
      "STR.inyo=\"> \"\nSTR.foot=\"\"\nKAIGYO.lfbyte=0\n"
      "OPE.sussave=false\nOPE.sus=false\nOPE.stdel=false\n"
      "OPE.ignore=\"" + std::string(Settings().ignore) + "\"\nOPE.dblctrl=false\n"
      "WIN.actv_hide=true\nWIN.topmost=true\nWIN.size=false\n"
      "WIN.size_lx=100\nWIN.size_ly=100\nWIN.size_lw=334\nWIN.size_lh=233\n"
      "WIN.size_vx=0\nWIN.size_vy=0\nWIN.size_vw=234\nWIN.size_vh=133\n"
      "WIN.size_ldpi=96\nWIN.size_vdpi=96\nWIN.place=last\n",
      Written(Settings()));
}

TEST(SettingsCodec, EveryCodeIsWrittenAsItsWord) {
  Settings s;
  s.listHotkey = MakeHotkeyWord(kHotkeyAlt | kHotkeyShift, 0x70);  // Alt+Shift+F1
  s.pauseHotkey = MakeHotkeyWord(kHotkeyAlt | kHotkeyControl | kHotkeyShift | 0x08, 0xBA);
  s.phraseHotkey = MakeHotkeyWord(kHotkeyControl, 0x79);  // Ctrl+F10
  s.data = kDataNew;
  s.cursor = kCursorTop;
  s.key = kKeyNormal;
  s.lf = kLfOk;
  std::snprintf(s.inyo, sizeof s.inyo, "  | ");
  std::snprintf(s.foot, sizeof s.foot, " <<");
  std::snprintf(s.ignore, sizeof s.ignore, "b.EXE; a.exe");
  s.lfbyte = -5;
  s.sussave = kYes;
  s.sus = 1;
  s.stdel = 1;
  s.actv_hide = kHide;
  s.topmost = kNo;
  s.size = kYes;
  s.size_lx = -20;
  s.dblctrl = kYes;
  s.size_ldpi = 144;
  s.place = kPlaceCaret;
  const std::string text = Written(s);
  for (const char* line :
       {"OPE.alt=true\nOPE.ctrl=false\nOPE.shift=true\nOPE.vk=112\n",
        "OPE.alt_sus=true\nOPE.ctrl_sus=true\nOPE.shift_sus=true\nOPE.vk_sus=186\n",
        "OPE.alt_phr=false\nOPE.ctrl_phr=true\nOPE.shift_phr=false\nOPE.vk_phr=121\n",
        "OPE.data=new\nOPE.cursor=top\nOPE.key=normal\nOPE.lf=lfok\n",
        "STR.inyo=\"  | \"\nSTR.foot=\" <<\"\nKAIGYO.lfbyte=-5\n",
        "OPE.sussave=true\nOPE.sus=true\nOPE.stdel=true\nOPE.ignore=\"b.EXE; a.exe\"\nOPE.dblctrl=true\n",
        "WIN.actv_hide=false\nWIN.topmost=false\nWIN.size=true\nWIN.size_lx=-20\n",
        "WIN.size_ldpi=144\n", "WIN.place=caret\n"})
    EXPECT_NE(std::string::npos, text.find(line)) << line << "\nin\n" << text;

  s.key = kKeyVilike;
  s.lf = kLfNone;
  s.sus = 1;
  s.sussave = kNo;  // the state is written whatever sussave says
  const std::string again = Written(s);
  EXPECT_NE(std::string::npos, again.find("OPE.key=vilike\nOPE.lf=lfnone\n"));
  EXPECT_NE(std::string::npos, again.find("OPE.sussave=false\nOPE.sus=true\n"));
  s.place = kPlaceMouse;
  EXPECT_NE(std::string::npos, Written(s).find("WIN.place=mouse\n"));
}

TEST(SettingsCodec, WhatIsWrittenReadsBackTheSame) {
  Settings s;
  s.listHotkey = MakeHotkeyWord(kHotkeyControl | kHotkeyShift, 'K');
  s.phraseHotkey = MakeHotkeyWord(kHotkeyAlt | kHotkeyShift, '9');
  s.data = kDataNew;
  s.key = kKeyVilike;
  s.lf = kLfNone;
  std::snprintf(s.inyo, sizeof s.inyo, " > ");
  s.lfbyte = 72;
  s.sussave = kYes;
  s.sus = 1;
  s.actv_hide = kHide;
  s.size_vh = 500;
  s.size_vdpi = 120;
  s.place = kPlaceMouse;
  s.dblctrl = kYes;
  FakeProfile profile;
  profile.Marked();
  for (const IniEntry& e : EncodeSettings(s)) profile.Set(e.section, e.key, e.value);
  const Settings back = Decode(profile);
  EXPECT_EQ(Written(s), Written(back));
}

TEST(SettingsCodec, FirstRunIsAMissingOrUnsetMarker) {
  EXPECT_TRUE(IsFirstRun(FakeProfile()));
  EXPECT_TRUE(IsFirstRun(FakeProfile().Set("REG", "reg", "999")));
  EXPECT_FALSE(IsFirstRun(FakeProfile().Marked()));              // "ok" reads as 0
  EXPECT_FALSE(IsFirstRun(FakeProfile().Set("REG", "reg", "1")));
}

TEST(SettingsCodec, AbsentKeysGiveTheirAbsentValues) {
  const Settings s = Decode(FakeProfile().Marked());
  EXPECT_EQ(Written(Settings()).replace(Written(Settings()).find("actv_hide=true"), 14,
                                         "actv_hide=false"),
            Written(s))
      << "everything as on a first run, except that an absent actv_hide hides";
  EXPECT_EQ(kHide, s.actv_hide);
  EXPECT_EQ(0, s.phraseHotkey) << "a file from before the phrase hotkey has none";
}

TEST(SettingsCodec, HotkeysNeedTheirKeyCode) {
  const Settings defaults;
  struct Case {
    const char* vk;  // nullptr: absent
    std::uint16_t expected;
  };
  const Case cases[] = {
      {nullptr, defaults.listHotkey}, {"0", defaults.listHotkey},  {"999", defaults.listHotkey},
      {"", defaults.listHotkey},      {"abc", defaults.listHotkey},
      {"65", MakeHotkeyWord(kHotkeyAlt | kHotkeyShift, 'A')},
      {"321", MakeHotkeyWord(kHotkeyAlt | kHotkeyShift, 321 & 0xFF)},  // low byte only
  };
  for (const Case& c : cases) {
    FakeProfile p;
    p.Marked().Set("OPE", "alt", "true").Set("OPE", "ctrl", "false").Set("OPE", "shift", "true");
    if (c.vk) p.Set("OPE", "vk", c.vk);
    EXPECT_EQ(c.expected, Decode(p).listHotkey) << "vk=" << (c.vk ? c.vk : "(absent)");
  }
  // A key code with all three modifier keys absent is the bare key.
  EXPECT_EQ(MakeHotkeyWord(0, '7'), Decode(FakeProfile().Marked().Set("OPE", "vk", "55")).listHotkey);
  // The pause hotkey reads its own keys.
  FakeProfile pause;
  pause.Marked().Set("OPE", "vk_sus", "80").Set("OPE", "ctrl_sus", "true").Set("OPE", "alt", "true");
  const Settings s = Decode(pause);
  EXPECT_EQ(MakeHotkeyWord(kHotkeyControl, 'P'), s.pauseHotkey);
  EXPECT_EQ(defaults.listHotkey, s.listHotkey);
  // The phrase hotkey's default is none, so without its key code it is none.
  FakeProfile phrases;
  phrases.Marked().Set("OPE", "ctrl_phr", "true").Set("OPE", "vk_phr", "0");
  EXPECT_EQ(0, Decode(phrases).phraseHotkey);
  phrases.Set("OPE", "vk_phr", "80");
  EXPECT_EQ(MakeHotkeyWord(kHotkeyControl, 'P'), Decode(phrases).phraseHotkey);
}

TEST(SettingsCodec, WordsAreExactAndCaseSensitive) {
  struct Case {
    const char* key;
    const char* value;
    int Settings::*field;
    int expected;
  };
  const Case cases[] = {
      {"data", "new", &Settings::data, kDataNew},       {"data", "NEW", &Settings::data, kDataOld},
      {"data", "error", &Settings::data, kDataOld},     {"cursor", "top", &Settings::cursor, kCursorTop},
      {"cursor", "Top", &Settings::cursor, kCursorLast},
      {"key", "normal", &Settings::key, kKeyNormal},    {"key", "vilike", &Settings::key, kKeyVilike},
      {"key", "vilike1.9", &Settings::key, kKeyVilike19},
      {"key", "vilikenew", &Settings::key, kKeyVilike19},
      {"key", "NORMAL", &Settings::key, kKeyVilike19},
      {"lf", "lfnone", &Settings::lf, kLfNone},         {"lf", "lfok", &Settings::lf, kLfOk},
      {"lf", "LFOK", &Settings::lf, kLfInyo},           {"lf", "lfinyo", &Settings::lf, kLfInyo},
      {"sussave", "yes", &Settings::sussave, kNo},      {"sussave", "true", &Settings::sussave, kYes},
      {"stdel", "yes", &Settings::stdel, 0},            {"stdel", "true", &Settings::stdel, 1},
      {"stdel", "TRUE", &Settings::stdel, 0},
  };
  for (const Case& c : cases) {
    const Settings s = Decode(FakeProfile().Marked().Set("OPE", c.key, c.value));
    EXPECT_EQ(c.expected, s.*c.field) << c.key << "=" << c.value;
  }
  const Case window[] = {
      {"topmost", "yes", &Settings::topmost, kYes},     {"topmost", "false", &Settings::topmost, kNo},
      {"size", "yes", &Settings::size, kNo},            {"size", "true", &Settings::size, kYes},
      {"actv_hide", "yes", &Settings::actv_hide, kStay},
      {"actv_hide", "true", &Settings::actv_hide, kStay},
      {"actv_hide", "false", &Settings::actv_hide, kHide},
      {"actv_hide", "error", &Settings::actv_hide, kHide},  // reads as absent
  };
  for (const Case& c : window) {
    const Settings s = Decode(FakeProfile().Marked().Set("WIN", c.key, c.value));
    EXPECT_EQ(c.expected, s.*c.field) << c.key << "=" << c.value;
  }
}

TEST(SettingsCodec, PausedStateIsRestoredOnlyWhenAskedFor) {
  EXPECT_EQ(0, Decode(FakeProfile().Marked().Set("OPE", "sus", "true")).sus);
  EXPECT_EQ(0, Decode(FakeProfile().Marked().Set("OPE", "sus", "true").Set("OPE", "sussave",
                                                                          "false")).sus);
  EXPECT_EQ(1, Decode(FakeProfile().Marked().Set("OPE", "sus", "true").Set("OPE", "sussave",
                                                                          "true")).sus);
  EXPECT_EQ(0, Decode(FakeProfile().Marked().Set("OPE", "sus", "yes").Set("OPE", "sussave",
                                                                         "true")).sus);
}

TEST(SettingsCodec, QuotedTextsKeepTheirBlanksAndErrorMeansAbsent) {
  Settings s = Decode(FakeProfile().Marked().Set("STR", "inyo", "\" >> \"").Set("STR", "foot",
                                                                                  "\"\""));
  EXPECT_STREQ(" >> ", s.inyo);
  EXPECT_STREQ("", s.foot);
  s = Decode(FakeProfile().Marked().Set("STR", "inyo", "> "));  // unquoted: the blank goes
  EXPECT_STREQ(">", s.inyo);
  s = Decode(FakeProfile().Marked().Set("STR", "inyo", "error").Set("STR", "foot", "error"));
  EXPECT_STREQ("> ", s.inyo);
  EXPECT_STREQ("", s.foot);
  s = Decode(FakeProfile().Marked().Set("STR", "inyo", "\"" + std::string(300, 'q') + "\""));
  EXPECT_EQ(std::string(255, 'q'), s.inyo);
  // The list of programs never recorded comes back whole, and an absent
  // one is the default list; an empty one stays empty.
  const std::string programs(600, 'p');
  EXPECT_EQ(programs, Decode(FakeProfile().Marked().Set("OPE", "ignore", programs)).ignore);
  EXPECT_STREQ(Settings().ignore, Decode(FakeProfile().Marked()).ignore);
  EXPECT_STREQ("", Decode(FakeProfile().Marked().Set("OPE", "ignore", "\"\"")).ignore);
}

TEST(SettingsCodec, NumbersReadTheirLeadingDigits) {
  struct Case {
    const char* section;
    const char* key;
    const char* value;
    int Settings::*field;
    int expected;
  };
  const Case cases[] = {
      {"KAIGYO", "lfbyte", "12abc", &Settings::lfbyte, 12},
      {"KAIGYO", "lfbyte", "abc", &Settings::lfbyte, 0},
      {"KAIGYO", "lfbyte", "-7", &Settings::lfbyte, -7},
      {"KAIGYO", "lfbyte", "999", &Settings::lfbyte, 0},
      {"WIN", "size_lx", "999", &Settings::size_lx, 100},
      {"WIN", "size_lw", "999", &Settings::size_lw, 334},
      {"WIN", "size_vh", "999", &Settings::size_vh, 133},
      {"WIN", "size_ly", "300px", &Settings::size_ly, 300},
      {"WIN", "size_vx", "-1", &Settings::size_vx, -1},
      {"WIN", "size_vw", "x", &Settings::size_vw, 0},
  };
  for (const Case& c : cases) {
    const Settings s = Decode(FakeProfile().Marked().Set(c.section, c.key, c.value));
    EXPECT_EQ(c.expected, s.*c.field) << c.key << "=" << c.value;
  }
}

TEST(SettingsCodec, ReadingStartsFromTheDefaultsOfTheReadFields) {
  Settings s;
  s.data = kDataNew;
  s.lfbyte = 40;
  std::snprintf(s.inyo, sizeof s.inyo, "# ");
  s.size_lx = 555;  // the rectangles keep what they hold
  ResetReadDefaults(&s);
  EXPECT_EQ(kDataOld, s.data);
  EXPECT_EQ(0, s.lfbyte);
  EXPECT_STREQ("> ", s.inyo);
  EXPECT_EQ(555, s.size_lx);
}

TEST(SettingsCodec, KeyTableVersionFollowsTheKeyMode) {
  EXPECT_STREQ("1.5a", KeyTableVersion(kKeyVilike));
  EXPECT_STREQ("1.9", KeyTableVersion(kKeyVilike19));
  EXPECT_STREQ("1.9", KeyTableVersion(kKeyNormal));
}

TEST(HotkeyWord, FlagsBecomeRegistrationModifiers) {
  struct Case {
    std::uint16_t word;
    unsigned modifiers;
    unsigned key;
  };
  const Case cases[] = {
      {MakeHotkeyWord(kHotkeyControl, '7'), kModControl, '7'},
      {MakeHotkeyWord(kHotkeyAlt, 'A'), kModAlt, 'A'},
      {MakeHotkeyWord(kHotkeyShift, 0x70), kModShift, 0x70},
      {MakeHotkeyWord(kHotkeyAlt | kHotkeyControl | kHotkeyShift, 'Z'),
       kModAlt | kModControl | kModShift, 'Z'},
      {MakeHotkeyWord(0x08, 0x2E), 0, 0x2E},  // the extended-key flag is not registered
      {0, 0, 0},                              // a cleared hotkey control
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.modifiers, HotkeyModifiers(c.word)) << std::hex << c.word;
    EXPECT_EQ(c.key, HotkeyKey(c.word)) << std::hex << c.word;
  }
}

TEST(SettingsCodec, TheWrapPositionIsTheLeadingSignedNumber) {
  const struct {
    const char* typed;
    int value;
  } cases[] = {
      {"72", 72},       {"-5", -5},       {"+8", 8},          {"12abc", 12},  {"abc", 0},
      {"", 0},          {"  \t 30", 30},  {"-", 0},           {"--3", 0},     {"3 4", 3},
      {"0072", 72},     {"2147483647", 2147483647},           {"99999999999999999999", 2147483647},
      {"-2147483648", -2147483647 - 1}, {"-99999999999", -2147483647 - 1},
  };
  for (const auto& c : cases) EXPECT_EQ(c.value, ParseWrapColumn(c.typed)) << '"' << c.typed << '"';
}

TEST(SettingsRecord, DialogChoicesKeepThePausedStateAndThePlaces) {
  const Settings saved = g_set;
  g_set.sus = 1;
  g_set.size_vh = 500;
  Settings chosen;
  chosen.data = kDataNew;
  chosen.stdel = 1;
  EXPECT_TRUE(TakeDialogChoices(chosen)) << "the order changed";
  EXPECT_EQ(1, g_set.sus);
  EXPECT_EQ(500, g_set.size_vh);
  EXPECT_EQ(1, g_set.stdel);
  g_set = saved;
}

// How a message names a hotkey: the modifiers, then the key by itself
// (digits, letters, function keys), by the keyboard's name, or by its
// code in hexadecimal when the keyboard has no name for it.
TEST(HotkeyName, NamesTheModifiersAndTheKey) {
  const auto keyboard = [](unsigned key) {
    return key == 0x20 ? std::string("Space") : std::string();
  };
  const std::pair<std::uint16_t, const char*> cases[] = {
      {MakeHotkeyWord(kHotkeyControl, '7'), "Ctrl+7"},
      {MakeHotkeyWord(kHotkeyControl | kHotkeyShift | kHotkeyAlt, 0x74), "Ctrl+Shift+Alt+F5"},
      {MakeHotkeyWord(kHotkeyControl, 0x20), "Ctrl+Space"},
      {MakeHotkeyWord(kHotkeyAlt, 0xE8), "Alt+0xE8"}};
  for (const auto& c : cases) EXPECT_EQ(c.second, HotkeyName(c.first, keyboard));
}

// The help page against the program: every vi-like command it names is a
// command of that key mode, every command of both tables is named, every
// INI key and value word it shows is one the program reads and writes,
// and its version is the build's. The page cannot drift from the tables
// unnoticed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "listwin/command_table.h"
#include "settings/settings_codec.h"

namespace {

std::string ReadPage() {
  std::ifstream in(KW_HELP_PAGE, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string DecodeEntities(std::string s) {
  const struct {
    const char* entity;
    const char* text;
  } kEntities[] = {{"&#39;", "'"}, {"&apos;", "'"}, {"&quot;", "\""},
                   {"&lt;", "<"},  {"&gt;", ">"},   {"&amp;", "&"}};
  for (const auto& e : kEntities)
    for (size_t at; (at = s.find(e.entity)) != std::string::npos;)
      s.replace(at, std::strlen(e.entity), e.text);
  return s;
}

// The contents of every element that opens with `open` and closes with
// `close`, entities decoded. An `open` without its ">" takes any
// attributes.
std::vector<std::string> Elements(const std::string& page, const std::string& open,
                                  const std::string& close) {
  std::vector<std::string> found;
  for (size_t at = page.find(open); at != std::string::npos; at = page.find(open, at)) {
    at += open.size();
    if (open.back() != '>') {
      if (page[at] != '>' && page[at] != ' ') continue;
      at = page.find('>', at);
      if (at == std::string::npos) break;
      ++at;
    }
    const size_t end = page.find(close, at);
    if (end == std::string::npos) break;
    found.push_back(DecodeEntities(page.substr(at, end - at)));
    at = end;
  }
  return found;
}

// A command as the page writes it, as the characters the keys type.
std::string Typed(const std::string& written) {
  const struct {
    const char* name;
    const char* typed;
  } kNamed[] = {{"Ctrl+F", "\x06"}, {"Ctrl+D", "\x04"}, {"Ctrl+B", "\x02"},
                {"Ctrl+U", "\x15"}, {"Enter", "\r"},    {"Esc", "\x1b"}};
  for (const auto& n : kNamed)
    if (written == n.name) return n.typed;
  return written;
}

struct Mode {
  const char* version;
  bool counts;  // whether the mode takes a count in front
};
constexpr Mode kModes[] = {{kVersion19, true}, {kVersion15a, false}};

TEST(HelpPage, NamesEveryCommandOfEachKeyModeAndNoOther) {
  const std::string page = ReadPage();
  ASSERT_FALSE(page.empty()) << KW_HELP_PAGE;
  for (const Mode& mode : kModes) {
    SCOPED_TRACE(mode.version);
    const CommandEntry* table = CommandTable(mode.version);
    std::set<const CommandEntry*> named;
    const std::string open = std::string("<kbd data-mode=\"") + mode.version + "\">";
    for (const std::string& written : Elements(page, open, "</kbd>")) {
      const ParsedCommand parsed = ParseCommand(table, Typed(written).c_str());
      EXPECT_TRUE(parsed.entry != nullptr && !parsed.countTooLarge)
          << "\"" << written << "\" is no command";
      EXPECT_TRUE(mode.counts || parsed.count == 0) << "\"" << written << "\" has a count";
      named.insert(parsed.entry);
    }
    for (const CommandEntry* e = table; e->length != 0; ++e)
      EXPECT_TRUE(named.count(e)) << "the page never names \"" << e->sequence << "\"";
  }
}

// A profile made of the entries a write produced, with one value changed.
class WrittenProfile : public ProfileSource {
 public:
  explicit WrittenProfile(std::vector<IniEntry> entries) : entries_(std::move(entries)) {}
  void Set(const std::string& key, const std::string& value) {
    for (IniEntry& e : entries_)
      if (key == e.key) e.value = value;
  }
  std::string Text(const char* section, const char* key) const override {
    if (!std::strcmp(section, kMarkerSection) && !std::strcmp(key, kMarkerKey))
      return kMarkerValue;
    for (const IniEntry& e : entries_)
      if (!std::strcmp(section, e.section) && !std::strcmp(key, e.key)) {
        std::string v = e.value;
        if (v.size() >= 2 && v.front() == '"') v = v.substr(1, v.size() - 2);
        return v;
      }
    return kAbsentText;
  }
  int Number(const char* section, const char* key) const override {
    const std::string v = Text(section, key);
    return v == kAbsentText ? kAbsentNumber : std::atoi(v.c_str());
  }

 private:
  std::vector<IniEntry> entries_;
};

std::string WrittenValue(const Settings& s, const std::string& key) {
  for (const IniEntry& e : EncodeSettings(s))
    if (key == e.key) return e.value;
  return "";
}

// Whether the program, reading `key` = `word` from a complete file, writes
// the same word back. Two starting files, one with every switch off and
// one with every switch on, so that a word that only counts together with
// another switch (a restored pause needs its save switch) is still seen;
// in both every hotkey has its key, without which its modifiers do not
// count (the phrase hotkey has none at first).
bool RoundTrips(const std::string& key, const std::string& word) {
  if (key == kMarkerKey) return word == kMarkerValue;
  Settings keyed;
  keyed.phraseHotkey = MakeHotkeyWord(kHotkeyControl, '9');
  for (const char* base : {"false", "true"}) {
    std::vector<IniEntry> entries = EncodeSettings(keyed);
    for (IniEntry& e : entries)
      if (e.value == "false" || e.value == "true") e.value = base;
    WrittenProfile profile(entries);
    profile.Set(key, word);
    Settings s;
    ResetReadDefaults(&s);
    DecodeSettings(profile, &s);
    if (WrittenValue(s, key) == word) return true;
  }
  return false;
}

TEST(HelpPage, ShowsEveryIniKeyAndOnlyWordsTheProgramReadsBack) {
  const std::string page = ReadPage();
  std::set<std::string> programKeys = {kMarkerKey};
  for (const IniEntry& e : EncodeSettings(Settings())) programKeys.insert(e.key);

  std::set<std::string> shownKeys;
  for (const std::string& row : Elements(page, "<tr", "</tr>")) {
    const std::vector<std::string> keys = Elements(row, "<code data-ini=\"key\">", "</code>");
    const std::vector<std::string> words = Elements(row, "<code data-ini=\"value\">", "</code>");
    EXPECT_TRUE(words.empty() || !keys.empty()) << "value words without a key: " << row;
    for (const std::string& key : keys) {
      EXPECT_TRUE(programKeys.count(key)) << "the program has no key \"" << key << "\"";
      shownKeys.insert(key);
      for (const std::string& word : words)
        EXPECT_TRUE(RoundTrips(key, word)) << key << "=" << word << " does not read back";
    }
  }
  for (const std::string& key : programKeys)
    EXPECT_TRUE(shownKeys.count(key)) << "the page never shows the key \"" << key << "\"";
}

// The clipboard formats a paste or copy puts, as the page names them and
// in the order the copy hands them to the clipboard.
TEST(HelpPage, NamesTheFormatsPutInTheirOrder) {
  std::ifstream in(std::string(KW_SRC_DIR) + "/output/copy.cpp");
  std::stringstream code;
  code << in.rdbuf();
  std::vector<std::string> put;
  static const std::regex kBlock(R"(\{(CF_[A-Z]+),)");
  const std::string source = code.str();
  for (std::sregex_iterator it(source.begin(), source.end(), kBlock), end; it != end; ++it)
    put.push_back((*it)[1]);
  ASSERT_FALSE(put.empty()) << "no formats found in copy.cpp";
  const std::string page = ReadPage();
  std::vector<std::string> named;
  for (const std::string& word : Elements(page, "<code>", "</code>"))
    if (word.rfind("CF_", 0) == 0) named.push_back(word);
  EXPECT_EQ(put, named);
}

// Every choice of the settings dialog (its check boxes, radio buttons and
// group boxes, as the resource script names them) is explained under its
// own name in brackets.
TEST(HelpPage, NamesEveryChoiceOfTheSettingsDialog) {
  std::ifstream in(KW_RC, std::ios::binary);
  std::stringstream rc;
  rc << in.rdbuf();
  const std::string script = rc.str();
  const size_t from = script.find("IDD_SETTINGS DIALOGEX");
  ASSERT_NE(from, std::string::npos);
  const std::string dialog = script.substr(from, script.find("\nEND", from) - from);
  static const std::regex kChoice(R"re((CONTROL|GROUPBOX) "([^"]+)")re");
  const std::string page = ReadPage();
  int choices = 0;
  for (std::sregex_iterator it(dialog.begin(), dialog.end(), kChoice), end; it != end; ++it) {
    ++choices;
    EXPECT_NE(page.find("［" + (*it)[2].str() + "］"), std::string::npos)
        << "the page never names ［" << (*it)[2] << "］";
  }
  EXPECT_GE(choices, 20);
}

TEST(HelpPage, GivesTheBuildsVersion) {
  const std::vector<std::string> versions =
      Elements(ReadPage(), "<span id=\"version\">", "</span>");
  ASSERT_EQ(versions.size(), 1u);
  EXPECT_EQ(versions[0], KW_VERSION);
}

}  // namespace

// The sign-in box as the settings dialog's template names it: the page
// describes the box before the manual way through shell:startup.
TEST(HelpPage, DescribesTheSignInBoxByItsTextBeforeTheManualWay) {
  std::ifstream in(std::string(KW_RES_DIR) + "/kopiwell.rc", std::ios::binary);
  const std::string script((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::smatch box;
  ASSERT_TRUE(std::regex_search(script, box, std::regex(R"re(CONTROL "([^"]+)", IDC_SIGNIN,)re")))
      << "no sign-in box in the " << script.size() << " bytes of kopiwell.rc";
  const std::string page = ReadPage();
  EXPECT_EQ(std::vector<std::string>{box[1].str()},
            Elements(page, "<span data-signin-box>", "</span>"));
  EXPECT_LT(page.find("<span data-signin-box>"), page.find("shell:startup"));
}

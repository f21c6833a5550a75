#include "settings/settings_fields.h"

#include <iterator>

#include "resource.h"

namespace {

constexpr char kOpe[] = "OPE";
constexpr char kStr[] = "STR";
constexpr char kKaigyo[] = "KAIGYO";
constexpr char kWin[] = "WIN";

constexpr OnRead kReset = OnRead::kFromDefault;
constexpr OnRead kKeep = OnRead::kKeeps;

// The words of each list; the last one is the fallback.
constexpr FieldWord kDataWords[] = {{"new", kDataNew, IDC_DATA_NEW},
                                    {"old", kDataOld, IDC_DATA_OLD}};
constexpr FieldWord kCursorWords[] = {{"top", kCursorTop, IDC_CURSOR_TOP},
                                      {"last", kCursorLast, IDC_CURSOR_LAST}};
constexpr FieldWord kKeyWords[] = {{"normal", kKeyNormal, IDC_KEY_NORMAL},
                                   {"vilike", kKeyVilike, IDC_KEY_VILIKE},
                                   {"vilike1.9", kKeyVilike19, IDC_KEY_VILIKE19}};
constexpr FieldWord kLfWords[] = {{"lfnone", kLfNone, IDC_LF_NONE},
                                  {"lfok", kLfOk, IDC_LF_OK},
                                  {"lfinyo", kLfInyo, IDC_LF_INYO}};
constexpr FieldWord kPlaceWords[] = {{"caret", kPlaceCaret, IDC_PLACE_CARET},
                                     {"mouse", kPlaceMouse, IDC_PLACE_MOUSE},
                                     {"last", kPlaceLast, IDC_PLACE_LAST}};

constexpr FieldFlag kYesNo = {kYes, kNo, FlagRead::kTrueOnlyForTrue, FlagWrite::kTrueForTrueCode,
                              kYes, nullptr};
constexpr FieldFlag kOneZero = {1, 0, FlagRead::kTrueOnlyForTrue, FlagWrite::kTrueForTrueCode, 1,
                                nullptr};
// The paused state is restored only when the user asked for it.
constexpr FieldFlag kPaused = {1, 0, FlagRead::kTrueOnlyForTrue, FlagWrite::kTrueForTrueCode, 1,
                               &Settings::sussave};
// The file says whether the list stays, the box whether it hides. An
// absent key hides the list: the behaviour of files from before the key
// existed. Any word other than "false" keeps it.
constexpr FieldFlag kStays = {kStay, kHide, FlagRead::kFalseForFalseOrAbsent,
                              FlagWrite::kFalseForFalseCode, kHide, nullptr};
// The list leaves the front only when the file says "false".
constexpr FieldFlag kInFront = {kYes, kNo, FlagRead::kFalseOnlyForFalse,
                                FlagWrite::kTrueForTrueCode, kYes, nullptr};

// The quote prefix and footer fields take up to 1022 bytes, the wrap
// column field 254.
constexpr int kQuoteFieldBytes = kQuoteBufferSize - 2;
constexpr int kWrapFieldBytes = 254;

template <std::size_t N>
constexpr SettingsField Words(const char* section, const char* key, int Settings::*code,
                              OnRead onRead, const FieldWord (&words)[N], Unticked unticked) {
  SettingsField f;
  f.section = section;
  f.key = key;
  f.codec = FieldCodec::kWords;
  f.onRead = onRead;
  f.code = code;
  f.words = words;
  f.wordCount = N;
  f.unticked = unticked;
  return f;
}

constexpr SettingsField Flag(const char* section, const char* key, int Settings::*code,
                             OnRead onRead, FieldFlag flag, int control) {
  SettingsField f;
  f.section = section;
  f.key = key;
  f.codec = FieldCodec::kFlag;
  f.onRead = onRead;
  f.code = code;
  f.flag = flag;
  f.control = control;
  return f;
}

constexpr SettingsField Number(const char* section, const char* key, int Settings::*code,
                               OnRead onRead, int control = 0, int limit = 0) {
  SettingsField f;
  f.section = section;
  f.key = key;
  f.codec = FieldCodec::kNumber;
  f.onRead = onRead;
  f.code = code;
  f.control = control;
  f.limit = limit;
  return f;
}

constexpr SettingsField Quoted(const char* section, const char* key,
                               char (Settings::*text)[kQuoteBufferSize], OnRead onRead,
                               int control, int limit, std::size_t readMost = 255) {
  SettingsField f;
  f.section = section;
  f.key = key;
  f.codec = FieldCodec::kQuoted;
  f.onRead = onRead;
  f.text = text;
  f.control = control;
  f.limit = limit;
  f.readMost = readMost;
  return f;
}

constexpr SettingsField Hotkey(const char* section, const char* ending,
                               std::uint16_t Settings::*hotkey, OnRead onRead, int control) {
  SettingsField f;
  f.section = section;
  f.key = ending;
  f.codec = FieldCodec::kHotkey;
  f.onRead = onRead;
  f.hotkey = hotkey;
  f.control = control;
  return f;
}

constexpr SettingsField kFields[] = {
    Hotkey(kOpe, "", &Settings::listHotkey, kReset, IDC_LIST_HOTKEY),
    Hotkey(kOpe, "_sus", &Settings::pauseHotkey, kReset, IDC_PAUSE_HOTKEY),
    Hotkey(kOpe, "_phr", &Settings::phraseHotkey, kReset, IDC_PHRASE_HOTKEY),
    Words(kOpe, "data", &Settings::data, kReset, kDataWords, Unticked::kTakesFallback),
    Words(kOpe, "cursor", &Settings::cursor, kReset, kCursorWords, Unticked::kTakesFallback),
    Words(kOpe, "key", &Settings::key, kReset, kKeyWords, Unticked::kKeeps),
    Words(kOpe, "lf", &Settings::lf, kReset, kLfWords, Unticked::kKeeps),
    Quoted(kStr, "inyo", &Settings::inyo, kReset, IDC_INYO, kQuoteFieldBytes),
    Quoted(kStr, "foot", &Settings::foot, kReset, IDC_FOOT, kQuoteFieldBytes),
    Number(kKaigyo, "lfbyte", &Settings::lfbyte, kReset, IDC_LFBYTE, kWrapFieldBytes),
    Flag(kOpe, "sussave", &Settings::sussave, kReset, kYesNo, IDC_SUSSAVE),
    Flag(kOpe, "sus", &Settings::sus, kReset, kPaused, 0),
    Flag(kOpe, "stdel", &Settings::stdel, kKeep, kOneZero, IDC_STDEL),
    // A list the user grows must come back whole.
    Quoted(kOpe, "ignore", &Settings::ignore, kReset, IDC_IGNORE, kQuoteFieldBytes,
           kQuoteFieldBytes),
    Flag(kOpe, "dblctrl", &Settings::dblctrl, kReset, kYesNo, IDC_DBLCTRL),
    Flag(kWin, "actv_hide", &Settings::actv_hide, kKeep, kStays, IDC_ACTV_HIDE),
    Flag(kWin, "topmost", &Settings::topmost, kKeep, kInFront, IDC_TOPMOST),
    Flag(kWin, "size", &Settings::size, kKeep, kYesNo, IDC_KEEP_RECT),
    Number(kWin, "size_lx", &Settings::size_lx, kKeep),
    Number(kWin, "size_ly", &Settings::size_ly, kKeep),
    Number(kWin, "size_lw", &Settings::size_lw, kKeep),
    Number(kWin, "size_lh", &Settings::size_lh, kKeep),
    Number(kWin, "size_vx", &Settings::size_vx, kKeep),
    Number(kWin, "size_vy", &Settings::size_vy, kKeep),
    Number(kWin, "size_vw", &Settings::size_vw, kKeep),
    Number(kWin, "size_vh", &Settings::size_vh, kKeep),
    Number(kWin, "size_ldpi", &Settings::size_ldpi, kKeep),
    Number(kWin, "size_vdpi", &Settings::size_vdpi, kKeep),
    Words(kWin, "place", &Settings::place, kReset, kPlaceWords, Unticked::kTakesFallback),
};

}  // namespace

SettingsFieldList SettingsFields() { return {std::begin(kFields), std::end(kFields)}; }

const FieldWord& FallbackWord(const SettingsField& field) {
  return field.words[field.wordCount - 1];
}

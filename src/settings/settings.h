// The settings record: every option of the program, read by all
// subsystems. Fields carry the names of their INI keys. Many options are
// small codes (1 and 2, or 1 to 3) rather than booleans, because the
// stored files and the dialogs use those codes.
#pragma once

#include <cstdint>
#include <string>

// Hotkey words use the hotkey control's format: low byte the virtual key,
// high byte these flags.
constexpr std::uint16_t kHotkeyShift = 0x01;
constexpr std::uint16_t kHotkeyControl = 0x02;
constexpr std::uint16_t kHotkeyAlt = 0x04;

constexpr std::uint16_t MakeHotkeyWord(std::uint16_t flags, std::uint8_t vk) {
  return static_cast<std::uint16_t>((flags << 8) | vk);
}

// The modifier flags RegisterHotKey takes, and how a hotkey word's flags
// map to them. Flags other than Shift, Ctrl and Alt (the extended-key
// flag) are not registered.
constexpr unsigned kModAlt = 1;
constexpr unsigned kModControl = 2;
constexpr unsigned kModShift = 4;

constexpr unsigned HotkeyModifiers(std::uint16_t word) {
  return ((word >> 8) & kHotkeyAlt ? kModAlt : 0u) |
         ((word >> 8) & kHotkeyControl ? kModControl : 0u) |
         ((word >> 8) & kHotkeyShift ? kModShift : 0u);
}
constexpr unsigned HotkeyKey(std::uint16_t word) { return word & 0xFFu; }

// The hotkey as the keyboard names it: "Ctrl+7", "Shift+Alt+F5". Digits,
// letters and function keys are named here, any other key by
// `systemName` (the keyboard layout's name of the virtual key), and one
// it gives "" for by its virtual-key code in hexadecimal ("Alt+0xE8").
std::string HotkeyName(std::uint16_t word, std::string (*systemName)(unsigned key));

// Codes of the two-way and three-way options.
enum : int {
  kDataNew = 1, kDataOld = 2,               // `data`: newest or oldest first
  kCursorTop = 1, kCursorLast = 2,          // `cursor`
  kKeyVilike = 1, kKeyNormal = 2, kKeyVilike19 = 3,  // `key`
  kLfNone = 1, kLfOk = 2, kLfInyo = 3,      // `lf`
  kYes = 1, kNo = 2,                        // yes/no options (sussave, topmost, size)
  kHide = 1, kStay = 2,                     // `actv_hide`
  kPlaceLast = 1, kPlaceCaret = 2, kPlaceMouse = 3,  // `place`: where the list appears
};

constexpr int kQuoteBufferSize = 1024;  // `inyo` and `foot`

struct Settings {
  std::uint16_t listHotkey = MakeHotkeyWord(kHotkeyControl, '7');
  std::uint16_t pauseHotkey = MakeHotkeyWord(kHotkeyControl, '8');
  // The fixed phrases have no hotkey until the user picks one: a word
  // without a key (the default, a cleared control) is none, and reads
  // back as none.
  std::uint16_t phraseHotkey = 0;
  int data = kDataOld;
  int cursor = kCursorLast;
  int key = kKeyVilike19;
  int lf = kLfInyo;
  char inyo[kQuoteBufferSize] = "> ";
  char foot[kQuoteBufferSize] = "";
  // The programs whose copies are never recorded (program_list.h): the
  // common password managers for Windows.
  char ignore[kQuoteBufferSize] =
      "KeePass.exe;KeePassXC.exe;1Password.exe;Bitwarden.exe;Dashlane.exe;Enpass.exe;"
      "RoboForm.exe;RoboTaskBarIcon.exe;KeeperPasswordManager.exe;NordPass.exe;"
      "Proton Pass.exe;LastPass.exe;pwsafe.exe";
  int lfbyte = 0;
  int sussave = kNo;
  int sus = 0;    // 1 paused, 0 capturing
  int stdel = 0;  // 1 delete the history (after a backup) at every start
  int actv_hide = kStay;
  int topmost = kYes;
  int size = kNo;
  int size_lx = 100, size_ly = 100, size_lw = 334, size_lh = 233;
  int size_vx = 0, size_vy = 0, size_vw = 234, size_vh = 133;
  // The density the sizes above are pixels of; the first-run sizes are
  // the program's own, given for 96 DPI.
  int size_ldpi = 96, size_vdpi = 96;
  int place = kPlaceLast;
  int dblctrl = kNo;  // a double press of Ctrl shows the list too
};

extern Settings g_set;

// Other folders read g_set freely but change it only through these, so
// that every change of the record is made here.

// The two windows whose places the record keeps.
enum class KeptWindow { kList, kViewer };

// Left, top, width and height of a window's outer rectangle, in pixels
// of a screen of `dpi`.
struct WindowPlace {
  int x, y, w, h;
  int dpi = 96;
};

WindowPlace KeptPlace(KeptWindow window);
void KeepPlace(KeptWindow window, const WindowPlace& place);

// Where the window is to be shown: its kept place, or, when places are
// not kept, the place of a first run, which then becomes its kept place.
WindowPlace PlaceToShow(KeptWindow window);

void SetPaused(bool paused);

// The settings dialog's choices become the record; the paused state and
// the window places, which the dialog does not show, stay as they are
// now (a window may have moved while it was open). Returns whether the
// order of the data changed.
bool TakeDialogChoices(const Settings& chosen);

// The command table the vi-like key modes use: "1.5a" for `key` vilike,
// "1.9" for every other mode.
const char* KeyTableVersion(int key);

// The key-table version in force: set from `key` whenever the settings are
// read or written, so that a key mode changed in the settings dialog
// takes effect once the new settings are stored.
extern const char* g_keyVersion;

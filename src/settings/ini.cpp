#include "settings/ini.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "base/win_text.h"
#include "settings/info_dialogs.h"
#include "settings/settings.h"
#include "settings/settings_codec.h"

namespace {

// The longest value a read gives, in bytes, as the INI file holds it.
constexpr size_t kValueMax = kTextMost;

// Cut to the longest whole characters within `limit` bytes.
std::string ToAnsi(const std::wstring& wide, size_t limit) {
  const int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(n > 0 ? n : 1), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &text[0], n, nullptr, nullptr);
  text.resize(text.size() - 1);
  size_t end = 0;
  while (end < text.size()) {
    const size_t step = IsDBCSLeadByte(static_cast<BYTE>(text[end])) ? 2 : 1;
    if (end + step > limit) break;
    end += step;
  }
  text.resize(end < text.size() ? end : text.size());
  return text;
}

// The INI file's full path, made afresh for every read and write. The
// profile functions look for a bare file name in the Windows directory, so
// the current directory is always written out; it is asked for at its
// full length, however long, so that a deep folder never sends the
// settings to some other file. The path is wide: a folder named in
// characters outside the system's code page must still be found.
std::wstring IniPath() {
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  std::wstring dir(needed, L'\0');
  const DWORD length = GetCurrentDirectoryW(needed, &dir[0]);
  dir.resize(length < needed ? length : 0);
  return dir + L"\\" + Widen(kIniFileName);
}

class PrivateProfile : public ProfileSource {
 public:
  explicit PrivateProfile(std::wstring path) : path_(std::move(path)) {}

  std::string Text(const char* section, const char* key) const override {
    wchar_t value[kValueMax + 1] = {};
    GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                             Widen(kAbsentText).c_str(), value, kValueMax + 1,
                             path_.c_str());
    return ToAnsi(value, kValueMax);
  }
  int Number(const char* section, const char* key) const override {
    return static_cast<int>(GetPrivateProfileIntW(Widen(section).c_str(),
                                                  Widen(key).c_str(), kAbsentNumber,
                                                  path_.c_str()));
  }

 private:
  std::wstring path_;
};

void Write(const wchar_t* path, const char* section, const char* key, const std::string& value) {
  WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                             Widen(value.c_str(), CP_ACP).c_str(), path);
}

}  // namespace

int ReadSettings() {
  ResetReadDefaults(&g_set);
  const std::wstring path = IniPath();
  const PrivateProfile profile(path);
  if (IsFirstRun(profile)) {
    Write(path.c_str(), kMarkerSection, kMarkerKey, kMarkerValue);
    ShowFirstRunDialog();
    return 0;
  }
  DecodeSettings(profile, &g_set);
  g_keyVersion = KeyTableVersion(g_set.key);
  return 1;
}

void WriteSettings() {
  const std::wstring path = IniPath();
  g_keyVersion = KeyTableVersion(g_set.key);
  for (const IniEntry& e : EncodeSettings(g_set)) Write(path.c_str(), e.section, e.key, e.value);
}

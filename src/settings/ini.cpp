#include "settings/ini.h"

#include <windows.h>

#include <string>

#include "settings/info_dialogs.h"
#include "settings/settings.h"
#include "settings/settings_codec.h"

namespace {

// The INI file's full path, made afresh for every read and write. The
// profile functions look for a bare file name in the Windows directory, so
// the current directory is always written out; it is asked for at its
// full length, however long, so that a deep folder never sends the
// settings to some other file.
std::string IniPath() {
  const DWORD needed = GetCurrentDirectoryA(0, nullptr);
  std::string dir(needed, '\0');
  const DWORD length = GetCurrentDirectoryA(needed, &dir[0]);
  dir.resize(length < needed ? length : 0);
  return dir + "/" + kIniFileName;
}

class PrivateProfile : public ProfileSource {
 public:
  explicit PrivateProfile(std::string path) : path_(std::move(path)) {}

  std::string Text(const char* section, const char* key) const override {
    char value[256] = {};
    GetPrivateProfileStringA(section, key, kAbsentText, value, sizeof value, path_.c_str());
    return value;
  }
  int Number(const char* section, const char* key) const override {
    return static_cast<int>(GetPrivateProfileIntA(section, key, kAbsentNumber, path_.c_str()));
  }

 private:
  std::string path_;
};

}  // namespace

int ReadSettings() {
  ResetReadDefaults(&g_set);
  const std::string path = IniPath();
  const PrivateProfile profile(path);
  if (IsFirstRun(profile)) {
    WritePrivateProfileStringA(kMarkerSection, kMarkerKey, kMarkerValue, path.c_str());
    ShowFirstRunDialog();
    return 0;
  }
  DecodeSettings(profile, &g_set);
  g_keyVersion = KeyTableVersion(g_set.key);
  return 1;
}

void WriteSettings() {
  const std::string path = IniPath();
  g_keyVersion = KeyTableVersion(g_set.key);
  for (const IniEntry& e : EncodeSettings(g_set))
    WritePrivateProfileStringA(e.section, e.key, e.value.c_str(), path.c_str());
}

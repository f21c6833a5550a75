#include "settings/settings.h"

Settings g_set;
const char* g_keyVersion = "1.9";

const char* KeyTableVersion(int key) {
  return key == kKeyVilike ? "1.5a" : "1.9";
}

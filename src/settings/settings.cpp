#include "settings/settings.h"

Settings g_set;

const char* KeyTableVersion(int key) {
  return key == kKeyVilike ? "1.5a" : "1.9";
}

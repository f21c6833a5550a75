#include "listwin/row_label.h"

std::u16string MarkBreaksAndTabs(const std::u16string& label) {
  std::u16string shown;
  shown.reserve(label.size());
  for (size_t i = 0; i < label.size(); ++i) {
    const char16_t c = label[i];
    if (c == u'\r' || c == u'\n') {
      shown += u'\u21b5';
      if (c == u'\r' && i + 1 < label.size() && label[i + 1] == u'\n') ++i;
    } else if (c == u'\t') {
      shown += u'\u2192';
    } else {
      shown += c;
    }
  }
  return shown;
}

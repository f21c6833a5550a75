#include "listwin/row_label.h"

namespace {

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

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

std::u16string CutToColumns(const std::u16string& text, int columns, CharacterWidth width) {
  size_t end = 0;
  for (long long used = 0; end < text.size();) {
    const bool pair = IsHigh(text[end]) && end + 1 < text.size() && IsLow(text[end + 1]);
    const char32_t c = pair ? 0x10000 + ((static_cast<char32_t>(text[end]) - 0xD800) << 10) +
                                  (text[end + 1] - 0xDC00)
                            : text[end];
    used += width(c);
    if (used > columns) break;
    end += pair ? 2 : 1;
  }
  return text.substr(0, end);
}

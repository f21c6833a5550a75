#include "base/utf8.h"

namespace {

bool IsHigh(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void PutUtf8(char32_t c, std::string* out) {
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (c >> 6)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (c >> 12)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (c >> 18)));
    out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace

std::string Utf8FromUtf16(const char16_t* text, std::size_t n) {
  std::string out;
  out.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    char32_t c = text[i];
    if (IsHigh(c) && i + 1 < n && IsLow(text[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (IsHigh(c) || IsLow(c)) {
      c = 0xFFFD;
    }
    PutUtf8(c, &out);
  }
  return out;
}

bool Utf16FromUtf8(const char* text, std::size_t n, std::u16string* out) {
  out->clear();
  out->reserve(n);
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  for (std::size_t i = 0; i < n;) {
    const unsigned char b = p[i];
    std::size_t more;
    char32_t c, least;
    if (b < 0x80) {
      more = 0, c = b, least = 0;
    } else if ((b & 0xE0) == 0xC0) {
      more = 1, c = b & 0x1F, least = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
      more = 2, c = b & 0x0F, least = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
      more = 3, c = b & 0x07, least = 0x10000;
    } else {
      return false;
    }
    if (n - i <= more) return false;
    for (std::size_t k = 1; k <= more; ++k) {
      if ((p[i + k] & 0xC0) != 0x80) return false;
      c = (c << 6) | (p[i + k] & 0x3F);
    }
    if (c < least || c > 0x10FFFF || IsHigh(c) || IsLow(c)) return false;
    if (c >= 0x10000) {
      out->push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      out->push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      out->push_back(static_cast<char16_t>(c));
    }
    i += more + 1;
  }
  return true;
}

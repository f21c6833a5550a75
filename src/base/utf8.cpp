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

// Utf16FromUtf8, and with a null `out` IsUtf8.
bool ReadUtf8(const char* text, std::size_t n, std::u16string* out) {
  if (out) {
    out->clear();
    out->reserve(n);
  }
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
    if (out && c >= 0x10000) {
      out->push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      out->push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else if (out) {
      out->push_back(static_cast<char16_t>(c));
    }
    i += more + 1;
  }
  return true;
}

}  // namespace

std::size_t Utf16Units(const char16_t* s, std::size_t n, std::size_t i) {
  return IsHigh(s[i]) && i + 1 < n && IsLow(s[i + 1]) ? 2 : 1;
}

char32_t Utf16Character(const char16_t* s, std::size_t n, std::size_t i) {
  if (Utf16Units(s, n, i) == 1) return s[i];
  return 0x10000 + ((static_cast<char32_t>(s[i]) - 0xD800) << 10) + (s[i + 1] - 0xDC00);
}

namespace {

// The character at i as UTF-8 takes it: a lone surrogate is no character.
char32_t Utf8Character(const char16_t* s, std::size_t n, std::size_t i) {
  const char32_t c = Utf16Character(s, n, i);
  return IsHigh(c) || IsLow(c) ? 0xFFFD : c;
}

}  // namespace

std::size_t Utf8Bytes(const char16_t* text, std::size_t n) {
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < n; i += Utf16Units(text, n, i)) {
    const char32_t c = Utf8Character(text, n, i);
    bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
  }
  return bytes;
}

void AppendUtf8(const char16_t* text, std::size_t n, std::string* out) {
  for (std::size_t i = 0; i < n; i += Utf16Units(text, n, i)) PutUtf8(Utf8Character(text, n, i), out);
}

std::string Utf8FromUtf16(const char16_t* text, std::size_t n) {
  std::string out;
  out.reserve(Utf8Bytes(text, n));
  AppendUtf8(text, n, &out);
  return out;
}

bool Utf16FromUtf8(const char* text, std::size_t n, std::u16string* out) {
  return ReadUtf8(text, n, out);
}

bool IsUtf8(const char* text, std::size_t n) { return ReadUtf8(text, n, nullptr); }

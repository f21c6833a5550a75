#include "store/unicode_record.h"

#include <cstring>

#include "base/utf8.h"

namespace unicode_record {

std::string Encode(const std::string& rendering, const std::string& utf8) {
  std::string record = rendering;
  record.push_back('\0');
  record.append(kTag, kTagBytes);
  record += utf8;
  return record;
}

Parts Split(const char* text, std::size_t n) {
  Parts parts;
  parts.rendering = text;
  const void* zero = std::memchr(text, '\0', n);
  parts.renderingBytes = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - text) : n;
  const std::size_t tagAt = parts.renderingBytes + 1;
  if (!zero || n - tagAt < kTagBytes || std::memcmp(text + tagAt, kTag, kTagBytes) != 0)
    return parts;
  const char* utf8 = text + tagAt + kTagBytes;
  const std::size_t bytes = n - tagAt - kTagBytes;
  if (!IsUtf8(utf8, bytes)) return parts;
  parts.unicode = true;
  parts.utf8 = utf8;
  parts.utf8Bytes = bytes;
  return parts;
}

bool PlacedAsUnicode(const unsigned* formats, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    if (formats[i] == kClipboardText) return false;
    if (formats[i] == kClipboardUnicodeText) return true;
  }
  return false;
}

void ForUnicodeCopy(const char16_t* text, std::size_t n, bool givesBack, std::string* rendering) {
  if (givesBack) return;
  // Grown once, to the record's size, and the UTF-8 written straight into
  // it: a text of some hundred MB is never held in a further copy.
  rendering->reserve(rendering->size() + 1 + kTagBytes + Utf8Bytes(text, n));
  rendering->push_back('\0');
  rendering->append(kTag, kTagBytes);
  AppendUtf8(text, n, rendering);
}

}  // namespace unicode_record

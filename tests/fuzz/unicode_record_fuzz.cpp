// Whatever a record holds, reading its Unicode copy stays inside it, and
// a copy found is exactly what writing it would have made.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/utf8.h"
#include "store/unicode_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  const unicode_record::Parts parts = unicode_record::Split(text, size);
  const std::string rendering(parts.rendering, parts.renderingBytes);
  if (rendering.find('\0') != std::string::npos) std::abort();
  if (parts.unicode) {
    const std::string utf8(parts.utf8, parts.utf8Bytes);
    if (unicode_record::Encode(rendering, utf8) != std::string(text, size)) std::abort();
    std::u16string wide;
    if (!Utf16FromUtf8(utf8.data(), utf8.size(), &wide)) std::abort();
    if (Utf8FromUtf16(wide.data(), wide.size()) != utf8) std::abort();
  }
  return 0;
}

// Realistic history files for the benchmarks: mixed lengths with a mean
// of about 200 bytes, some Shift-JIS lines, some line breaks.
#pragma once

#include <cstdint>
#include <random>
#include <string>

inline std::string MakeText(std::mt19937& random) {
  static const char* const kWords[] = {"clipboard", "history", "paste", "Kopiwell", "text",
                                       "https://example.com/page", "2026-12-08", "error:", "OK"};
  // Shift-JIS: あいう 漢字 日本語
  static const char kJapanese[] = "\x82\xA0\x82\xA2\x82\xA4 \x8A\xBF\x8E\x9A \x93\xFA\x96\x7B\x8C\xEA";
  std::exponential_distribution<double> lengths(1.0 / 200.0);
  const size_t length = static_cast<size_t>(lengths(random)) + 1;
  std::string text;
  while (text.size() < length) {
    const unsigned pick = random() % 20;
    if (pick < 3) {
      text += kJapanese;
    } else if (pick < 5) {
      text += "\r\n";
    } else {
      text += kWords[random() % (sizeof kWords / sizeof kWords[0])];
      text += ' ';
    }
  }
  text.resize(length);
  // Never end inside a double-byte character: drop a lone lead byte.
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    if (lead && i + 1 == text.size()) {
      text.pop_back();
      break;
    }
    i += lead ? 2 : 1;
  }
  return text;
}

inline void AppendInt32(std::string& out, std::uint32_t v) {
  const char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                     static_cast<char>(v >> 24)};
  out.append(b, 4);
}

// The bytes of a data file of n entries, the same for the same n.
inline std::string MakeHistory(int n) {
  std::mt19937 random(12345u + static_cast<unsigned>(n));
  std::string bytes;
  AppendInt32(bytes, static_cast<std::uint32_t>(n));
  for (int i = 0; i < n; ++i) {
    const std::string text = MakeText(random);
    AppendInt32(bytes, static_cast<std::uint32_t>(text.size()));
    bytes += text;
  }
  return bytes;
}

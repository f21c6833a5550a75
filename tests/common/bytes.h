// Bytes as the tests build and compare them: data files, hex dumps for
// failure messages, and the lines of a text file. Shared by every Windows
// test layer and the benchmarks, so each helper is written once.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// A 4-byte little-endian integer of the data file format.
inline std::string Int32Bytes(std::int64_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  const char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                     static_cast<char>(v >> 24)};
  return std::string(b, 4);
}

// One record: the length and the text.
inline std::string Record(const std::string& text) {
  return Int32Bytes(static_cast<std::int64_t>(text.size())) + text;
}

// The bytes of a data file holding the texts in order.
inline std::string DataFile(const std::vector<std::string>& texts) {
  std::string bytes = Int32Bytes(static_cast<std::int64_t>(texts.size()));
  for (const std::string& t : texts) bytes += Record(t);
  return bytes;
}

inline std::string Hex(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    char b[4];
    std::snprintf(b, sizeof b, "%02X ", c);
    out += b;
  }
  return out;
}

// Where two byte strings part, for failure messages about files too
// large to print whole: both sizes and a few bytes of each from the first
// byte that differs.
inline std::string FirstDifference(const std::string& expected, const std::string& actual) {
  size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  const std::string sizes =
      std::to_string(actual.size()) + " bytes, expected " + std::to_string(expected.size());
  if (at == expected.size() && at == actual.size()) return sizes + ", all the same";
  return sizes + "; from byte " + std::to_string(at) + ": " + Hex(actual.substr(at, 16)) +
         "instead of " + Hex(expected.substr(at, 16));
}

// The lines of a text, without line ends and empty lines.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
    at = end + 1;
  }
  return lines;
}

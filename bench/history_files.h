// Realistic history files for the benchmarks: mixed lengths with a mean
// of about 200 bytes, some Shift-JIS lines, some line breaks.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "common/bytes.h"
#include "common/files.h"

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

// The bytes of a data file of n entries, the same for the same n.
// With `unicodeEvery` > 0, every such text ends in a character the code
// page lacks, as its rendering ("?") shows, and with `copies` its record
// keeps the Unicode copy, as a copy from a Unicode program makes it.
inline std::string MakeHistory(int n, int unicodeEvery = 0, bool copies = false) {
  std::mt19937 random(12345u + static_cast<unsigned>(n));
  std::string bytes = Int32Bytes(n);
  for (int i = 0; i < n; ++i) {
    std::string text = MakeText(random);
    if (unicodeEvery > 0 && i % unicodeEvery == 0) {
      const std::wstring wide = FromAnsi(text) + L" caf\u00e9";
      text += " caf?";
      if (copies) text += std::string(1, '\0') + "UTF8" + Narrow(wide);
    }
    bytes += Record(text);
  }
  return bytes;
}

// Calls record(offset, length) for each whole record of a data file's
// bytes, in order; the text starts 4 bytes after the offset.
template <class F>
void ForEachRecord(const std::string& bytes, F record) {
  size_t at = 4;
  while (at + 4 <= bytes.size()) {
    std::uint32_t n = 0;
    std::memcpy(&n, bytes.data() + at, 4);
    if (n > bytes.size() - at - 4) break;
    record(at, n);
    at += 4 + n;
  }
}

// The rows as the program indexes them: each record's offset and, one
// after another in `labels`, up to 100 bytes of its text; where each
// label starts, when asked for.
inline void ParseRows(const std::string& bytes, std::vector<std::int32_t>* offsets,
                      std::string* labels, std::vector<std::uint32_t>* labelStarts = nullptr) {
  ForEachRecord(bytes, [&](size_t at, std::uint32_t n) {
    offsets->push_back(static_cast<std::int32_t>(at));
    if (labelStarts) labelStarts->push_back(static_cast<std::uint32_t>(labels->size()));
    labels->append(bytes, at + 4, n < 100 ? n : 100);
  });
}

// A new folder of this process in the temporary folder, made the current
// directory with `bytes` as its clip.dat. Returns the folder.
inline std::wstring EnterHistoryFolder(const std::wstring& name, const std::string& bytes) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring dir = temp + name + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(dir.c_str(), nullptr);
  SetCurrentDirectoryW(dir.c_str());
  WriteFileBytes(L"clip.dat", bytes);
  return dir;
}

// Leaves the folder and removes it with everything the run left in it.
inline void LeaveHistoryFolder(const std::wstring& dir) {
  SetCurrentDirectoryW((dir + L"\\..").c_str());
  RemoveTree(dir);
}
